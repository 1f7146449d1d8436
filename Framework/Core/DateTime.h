// The date-time value: days since 30 December 1899, the fraction being the time of day.
#pragma once

namespace skx {

using TDateTime = double;

constexpr double HoursPerDay = 24;
constexpr double MinsPerDay = 24 * 60;
constexpr double SecsPerDay = 24 * 60 * 60;
constexpr double MSecsPerDay = 24.0 * 60 * 60 * 1000;

// Encoding fails with "Range check error" for a date or time that does not exist.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value);

// Decoding rounds the time of day to the nearest millisecond first, as the automation date
// functions do; a negative value's whole part is its signed day and its fraction the time of day
// counted forward from that day's midnight.
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);

// The one split of a value into its day and its time of day, rounded to the millisecond as the
// decoders round it, so that a time that rounds up to midnight belongs to the next day. Values
// outside years 1 to 9999 (NaN and infinities too) fail with "Range check error".
struct TDayTime {
  int Day;
  int MSec;
};
TDayTime SplitDayTime(TDateTime Value);
// The day the value falls on, as SplitDayTime decomposes it: every row, column and marker agrees.
inline int DayOf(TDateTime Value) { return SplitDayTime(Value).Day; }
// The value of a day and a time of day (0 <= MSec < one day), the inverse of SplitDayTime: the
// same number as the day's date plus EncodeTime of the time for days from 30 December 1899 on.
TDateTime JoinDayTime(TDayTime Parts);
// Whether SplitDayTime, and so every decoder, accepts the value.
bool IsDecodable(TDateTime Value);

int WholeDays(TDateTime Value);       // the whole days by truncation
TDateTime DateOf(TDateTime Value);    // midnight of the value's day
TDateTime TimeOf(TDateTime Value);    // the time of day alone, 0 <= t < 1
int DayOfWeek(TDateTime Value);       // 1 = Sunday ... 7 = Saturday
bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);

// Today and now come from a clock so that tests control them.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual TDateTime Now() const = 0;
  TDateTime Today() const { return DateOf(Now()); }
};

// The machine's local time.
class TSystemClock : public TClock {
 public:
  TDateTime Now() const override;
};

// A clock that stays where a test puts it.
class TFixedClock : public TClock {
 public:
  explicit TFixedClock(TDateTime now) : FNow(now) {}
  TDateTime Now() const override { return FNow; }
  void Set(TDateTime now) { FNow = now; }

 private:
  TDateTime FNow;
};

}  // namespace skx
