// Tests of the date-time value: encoding, decoding around day 0 and below it, weekdays, rounding.
#include <gtest/gtest.h>

#include <vector>

#include "Framework/Core/DateTime.h"
#include "Framework/Core/Exceptions.h"

namespace skx {
namespace {

struct TDateCase {
  int Year, Month, Day;
  double Value;
};

TEST(DateTimeTest, EncodesAndDecodesDatesAroundDayZero) {
  const TDateCase cases[] = {
      {1899, 12, 30, 0},   {1899, 12, 31, 1},  {1900, 1, 1, 2},         {1900, 3, 1, 61},
      {1899, 12, 29, -1},  {1899, 1, 1, -363}, {1998, 3, 12, 35866},    {2000, 2, 29, 36585},
      {2000, 3, 1, 36586}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1970, 1, 1, 25569},
  };
  for (const TDateCase& c : cases) {
    SCOPED_TRACE(c.Value);
    EXPECT_EQ(EncodeDate(c.Year, c.Month, c.Day), c.Value);
    int year = 0, month = 0, day = 0;
    DecodeDate(c.Value, year, month, day);
    EXPECT_EQ(year, c.Year);
    EXPECT_EQ(month, c.Month);
    EXPECT_EQ(day, c.Day);
  }
}

TEST(DateTimeTest, RefusesDatesAndTimesThatDoNotExist) {
  const int badDates[][3] = {{1900, 2, 29}, {2023, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                             {2024, 0, 1},  {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const auto& d : badDates) {
    TDateTime value = 42;
    EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], value));
    EXPECT_EQ(value, 42);
    EXPECT_THROW(EncodeDate(d[0], d[1], d[2]), ERangeError);
  }
  const int badTimes[][4] = {
      {24, 0, 0, 0}, {-1, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
  for (const auto& t : badTimes) {
    TDateTime value = 42;
    EXPECT_FALSE(TryEncodeTime(t[0], t[1], t[2], t[3], value));
    EXPECT_EQ(value, 42);
  }
  try {
    EncodeTime(24, 0, 0, 0);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Range check error");
  }
}

TEST(DateTimeTest, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2024, 12), 31);
  EXPECT_THROW(DaysInMonth(2024, 13), ERangeError);
}

TEST(DateTimeTest, TimeOfDayIsTheFraction) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0.0);
  int hour, minute, second, msec;
  DecodeTime(EncodeTime(23, 59, 59, 999), hour, minute, second, msec);
  EXPECT_EQ((std::vector<int>{hour, minute, second, msec}), (std::vector<int>{23, 59, 59, 999}));
}

TEST(DateTimeTest, DecodingRoundsToTheNearestMillisecond) {
  int hour, minute, second, msec;
  DecodeTime(9 / 24.0 + 15 / 1440.0, hour, minute, second, msec);
  EXPECT_EQ((std::vector<int>{hour, minute, second, msec}), (std::vector<int>{9, 15, 0, 0}));

  for (int m = 0; m < 1440; ++m) {
    DecodeTime(m / 1440.0 + 35866, hour, minute, second, msec);
    ASSERT_EQ(hour * 60 + minute, m);
    ASSERT_EQ(second + msec, 0);
  }
}

TEST(DateTimeTest, RoundingUpToMidnightMovesTheDate) {
  const TDateTime almostMidnight = EncodeDate(1998, 3, 12) + (MSecsPerDay - 0.2) / MSecsPerDay;
  int year, month, day, hour, minute, second, msec;
  DecodeDate(almostMidnight, year, month, day);
  DecodeTime(almostMidnight, hour, minute, second, msec);
  EXPECT_EQ((std::vector<int>{year, month, day}), (std::vector<int>{1998, 3, 13}));
  EXPECT_EQ(hour + minute + second + msec, 0);
  EXPECT_EQ(DayOfWeek(almostMidnight), 6);
}

TEST(DateTimeTest, NegativeValuesCountTheTimeForwardFromTheirDay) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(-1.25, year, month, day);
  DecodeTime(-1.25, hour, minute, second, msec);
  EXPECT_EQ((std::vector<int>{year, month, day, hour, minute}),
            (std::vector<int>{1899, 12, 29, 6, 0}));

  DecodeDate(-0.5, year, month, day);
  DecodeTime(-0.5, hour, minute, second, msec);
  EXPECT_EQ((std::vector<int>{year, month, day, hour}), (std::vector<int>{1899, 12, 30, 12}));

  EXPECT_EQ(WholeDays(-1.25), -1);
  EXPECT_EQ(DateOf(-1.25), -1.0);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
}

TEST(DateTimeTest, JoiningADayAndATimeUndoesTheSplit) {
  const TDateTime afternoon = EncodeDate(1998, 3, 12) + EncodeTime(17, 30, 0, 0);
  EXPECT_EQ(JoinDayTime(SplitDayTime(afternoon)), afternoon);
  EXPECT_EQ(JoinDayTime(SplitDayTime(-1.25)), -1.25);
  EXPECT_EQ(JoinDayTime(TDayTime{-1, 6 * 3600000}), -1.25);
  const TDayTime parts = SplitDayTime(JoinDayTime(TDayTime{-36522, 86399999}));
  EXPECT_EQ((std::vector<int>{parts.Day, parts.MSec}), (std::vector<int>{-36522, 86399999}));
}

TEST(DateTimeTest, WholeDaysTruncateAndSplitTheValue) {
  const TDateTime value = EncodeDate(1998, 3, 12) + EncodeTime(17, 30, 0, 0);
  EXPECT_EQ(WholeDays(value), 35866);
  EXPECT_EQ(DateOf(value), 35866.0);
  EXPECT_EQ(TimeOf(value), value - 35866);
  EXPECT_EQ(WholeDays(0.999), 0);
  EXPECT_THROW(WholeDays(3e9), EIntOverflow);
}

TEST(DateTimeTest, WeekdaysCountFromSunday) {
  EXPECT_EQ(DayOfWeek(0), 7);   // 30 Dec 1899, Saturday
  EXPECT_EQ(DayOfWeek(1), 1);   // Sunday
  EXPECT_EQ(DayOfWeek(-1), 6);  // Friday
  EXPECT_EQ(DayOfWeek(-1.25), 6);
  EXPECT_EQ(DayOfWeek(-7), 7);
  EXPECT_EQ(DayOfWeek(EncodeDate(1998, 3, 12) + 0.9), 5);  // Thursday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);         // Monday
}

TEST(DateTimeTest, ValuesOutsideTheCalendarDoNotDecode) {
  int year, month, day;
  EXPECT_THROW(DecodeDate(-700000, year, month, day), ERangeError);
  EXPECT_THROW(DecodeDate(3e6, year, month, day), ERangeError);
  EXPECT_THROW(DayOfWeek(1e300), ERangeError);
}

TEST(DateTimeTest, Clocks) {
  TFixedClock clock(35866.75);
  EXPECT_EQ(clock.Today(), 35866);
  clock.Set(-1.25);
  EXPECT_EQ(clock.Today(), -1);

  const TDateTime now = TSystemClock().Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_LT(now, EncodeDate(2200, 1, 1));
}

}  // namespace
}  // namespace skx
