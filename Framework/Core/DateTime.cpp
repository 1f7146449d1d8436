// Encoding, decoding and calendar arithmetic of the date-time value, and the machine's clock.
#include "Framework/Core/DateTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

constexpr int MSecsPerDayCount = 24 * 60 * 60 * 1000;

// Day numbers of 1 January 0001 and 31 December 9999, the range a date can be encoded in.
constexpr int FirstDay = -693593;
constexpr int LastDay = 2958465;

// Day 0 of the value, 30 December 1899, counted from 1 March of year 0.
constexpr int DayZeroFromMarchZero = 693899;

constexpr int MonthDays[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// The civil calendar counted in 400-year eras from 1 March of year 0, so that the leap day
// falls at the end of each counted year; only years 1 to 10000 are ever passed here.
int DayFromDate(int year, int month, int day) {
  const int marchYear = month <= 2 ? year - 1 : year;
  const int era = marchYear / 400;
  const int yearOfEra = marchYear - era * 400;
  const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - DayZeroFromMarchZero;
}

void DateFromDay(int dayNumber, int& year, int& month, int& day) {
  const int days = dayNumber + DayZeroFromMarchZero;
  const int era = days / 146097;
  const int dayOfEra = days - era * 146097;
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int marchMonth = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * marchMonth + 2) / 5 + 1;
  month = marchMonth < 10 ? marchMonth + 3 : marchMonth - 9;
  year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

bool IsDecodable(TDateTime Value) { return Value > FirstDay - 1 && Value < LastDay + 1; }

TDayTime SplitDayTime(TDateTime Value) {
  if (!IsDecodable(Value)) RaiseRangeError();
  const double whole = std::trunc(Value);
  TDayTime parts{static_cast<int>(whole),
                 static_cast<int>(std::lround(std::fabs(Value - whole) * MSecsPerDay))};
  if (parts.MSec == MSecsPerDayCount) {
    ++parts.Day;
    parts.MSec = 0;
  }
  return parts;
}

TDateTime JoinDayTime(TDayTime Parts) {
  const double time = Parts.MSec / MSecsPerDay;
  return Parts.Day < 0 ? Parts.Day - time : Parts.Day + time;
}

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  if (Month < 1 || Month > 12) RaiseRangeError();
  return MonthDays[IsLeapYear(Year) ? 1 : 0][Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
      Day > DaysInMonth(Year, Month)) {
    return false;
  }
  Value = DayFromDate(Year, Month, Day);
  return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 ||
      MSec > 999) {
    return false;
  }
  Value = (Hour * 3600000 + Min * 60000 + Sec * 1000 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime value;
  if (!TryEncodeDate(Year, Month, Day, value)) RaiseRangeError();
  return value;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime value;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, value)) RaiseRangeError();
  return value;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
  DateFromDay(SplitDayTime(Value).Day, Year, Month, Day);
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
  const int msecOfDay = SplitDayTime(Value).MSec;
  Hour = msecOfDay / 3600000;
  Min = msecOfDay / 60000 % 60;
  Sec = msecOfDay / 1000 % 60;
  MSec = msecOfDay % 1000;
}

int WholeDays(TDateTime Value) { return CheckedTrunc(Value); }

TDateTime DateOf(TDateTime Value) { return WholeDays(Value); }

TDateTime TimeOf(TDateTime Value) { return std::fabs(Value - std::trunc(Value)); }

int DayOfWeek(TDateTime Value) {
  // Day 0 was a Saturday; the remainder of a negative day is negative, hence the extra week.
  return (SplitDayTime(Value).Day % 7 + 13) % 7 + 1;
}

TDateTime TSystemClock::Now() const {
  using namespace std::chrono;
  const system_clock::time_point now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const int msec =
      static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  // A leap second reads as the last second of its minute.
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), msec);
}

}  // namespace skx
