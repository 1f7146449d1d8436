// Tests of date, time and integer texts in a day.month.year and a month/day/year locale.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/FormatSettings.h"

namespace skx {
namespace {

TFormatSettings DayMonthYear() {
  TFormatSettings settings;
  settings.ShortDateFormat = L"dd.MM.yyyy";
  settings.DateSeparator = L'.';
  settings.LongTimeFormat = L"HH:mm:ss";
  settings.TimeAMString = L"";
  settings.TimePMString = L"";
  return settings;
}

TFormatSettings MonthDayYear() {
  TFormatSettings settings;
  settings.ShortDateFormat = L"M/d/yyyy";
  settings.DateSeparator = L'/';
  settings.LongTimeFormat = L"h:mm:ss tt";
  return settings;
}

template <typename Call>
String FailureOf(Call call) {
  try {
    call();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return L"no failure";
}

const TDateTime March12 = EncodeDate(1998, 3, 12);

TEST(FormatSettingsTest, DefaultSettingsAreTheMonthDayYearFixture) {
  const TFormatSettings saved = GetFormatSettings();
  EXPECT_EQ(saved.ShortDateFormat, L"M/d/yyyy");
  EXPECT_EQ(DateToStr(March12), L"3/12/1998");
  SetFormatSettings(DayMonthYear());
  EXPECT_EQ(DateToStr(March12), L"12.03.1998");
  EXPECT_EQ(StrToDate(L"12.03.1998"), March12);
  SetFormatSettings(saved);
  EXPECT_EQ(GetFormatSettings().DateSeparator, L'/');
}

TEST(FormatSettingsTest, FormatsWithPictureLetters) {
  const TFormatSettings dmy = DayMonthYear();
  const TFormatSettings mdy = MonthDayYear();
  const TDateTime evening = March12 + EncodeTime(17, 5, 9, 0);
  const TDateTime morning = EncodeDate(2005, 1, 2) + EncodeTime(0, 30, 0, 0);
  EXPECT_EQ(DateToStr(March12, dmy), L"12.03.1998");
  EXPECT_EQ(DateToStr(March12, mdy), L"3/12/1998");
  EXPECT_EQ(TimeToStr(evening, dmy), L"17:05:09");
  EXPECT_EQ(TimeToStr(evening, mdy), L"5:05:09 PM");
  EXPECT_EQ(TimeToStr(morning, mdy), L"12:30:00 AM");
  EXPECT_EQ(FormatDateTime(L"d/M/yy", morning, mdy), L"2/1/05");
  EXPECT_EQ(FormatDateTime(L"ddd dddd MMM MMMM", evening, mdy), L"Thu Thursday Mar March");
  EXPECT_EQ(FormatDateTime(L"hh H t", morning, mdy), L"12 0 A");
  EXPECT_EQ(FormatDateTime(L"'d''M' \"yy\" yyyy", evening, mdy), L"d'M yy 1998");
  EXPECT_EQ(FormatDateTime(L"HH' h 'mm", evening, dmy), L"17 h 05");
  EXPECT_EQ(DateToStr(-1.25, dmy), L"29.12.1899");
}

TEST(FormatSettingsTest, DatesRoundTripThroughTheirText) {
  const TFormatSettings locales[] = {DayMonthYear(), MonthDayYear()};
  for (const TFormatSettings& settings : locales) {
    for (TDateTime day = EncodeDate(1999, 12, 25); day < EncodeDate(2000, 3, 5); ++day) {
      ASSERT_EQ(StrToDate(DateToStr(day, settings), settings), day) << DateToStr(day, settings);
    }
  }
}

// The century of a two-digit year follows the reference date instead of a fixed window.
TEST(FormatSettingsTest, TwoDigitYearsTakeTheCenturyNearestTheReferenceDate) {
  const TFormatSettings mdy = MonthDayYear();
  const TDateTime in1998 = March12;
  const TDateTime in2026 = EncodeDate(2026, 12, 9);
  EXPECT_EQ(StrToDateNear(L"1/1/29", in1998, mdy), EncodeDate(2029, 1, 1));
  EXPECT_EQ(StrToDateNear(L"1/1/50", in1998, mdy), EncodeDate(1950, 1, 1));
  EXPECT_EQ(StrToDateNear(L"1/1/30", in2026, mdy), EncodeDate(2030, 1, 1));
  EXPECT_EQ(StrToDateNear(L"1/1/0", in2026, mdy), EncodeDate(2000, 1, 1));
  EXPECT_EQ(StrToDateNear(L"1/1/77", in2026, mdy), EncodeDate(1977, 1, 1));
  EXPECT_EQ(StrToDateNear(L"6/1/75", EncodeDate(2120, 3, 1), mdy), EncodeDate(2075, 6, 1));
  // Only the centuries that hold such a date count: 29 February of 1900 never was.
  EXPECT_EQ(StrToDateNear(L"2/29/00", EncodeDate(1930, 1, 1), mdy), EncodeDate(2000, 2, 29));
  EXPECT_EQ(StrToDateNear(L"1/1/1930", in2026, mdy), EncodeDate(1930, 1, 1));
  TDateTime value;
  EXPECT_FALSE(TryStrToDateNear(L"1/1/30", std::nan(""), value, mdy));
}

TEST(FormatSettingsTest, ParsesDatesInTheFormatsFieldOrder) {
  const TFormatSettings dmy = DayMonthYear();
  const TFormatSettings mdy = MonthDayYear();
  EXPECT_EQ(StrToDate(L"12.3.1998", dmy), March12);
  EXPECT_EQ(StrToDate(L" 12.03.98 ", dmy), March12);
  EXPECT_EQ(StrToDate(L"3/12/1998", mdy), March12);
  EXPECT_EQ(StrToDate(L"03/12/98", mdy), March12);
  EXPECT_EQ(StrToDate(L"1/1/0030", mdy), EncodeDate(30, 1, 1));

  TFormatSettings yearFirst = dmy;
  yearFirst.ShortDateFormat = L"yyyy-MM-dd";
  yearFirst.DateSeparator = L'-';
  EXPECT_EQ(StrToDate(L"1998-03-12", yearFirst), March12);

  TFormatSettings named = dmy;
  named.ShortDateFormat = L"dd-MMM-yy";
  named.DateSeparator = L'-';
  EXPECT_EQ(DateToStr(March12, named), L"12-Mar-98");
  EXPECT_EQ(StrToDate(L"12-mar-98", named), March12);
  EXPECT_EQ(StrToDate(L"12-March-1998", named), March12);

  TFormatSettings yearless = dmy;
  yearless.ShortDateFormat = L"dd.MM";
  int year, month, day;
  DecodeDate(TSystemClock().Today(), year, month, day);
  EXPECT_EQ(StrToDate(L"12.03", yearless), EncodeDate(year, 3, 12));
}

TEST(FormatSettingsTest, RefusesTextsThatAreNoDate) {
  const TFormatSettings dmy = DayMonthYear();
  const String bad[] = {
      L"",         L"12.03",       L"12.03.1998.1", L"3/12/1998",   L"31.02.1998",    L"12.13.1998",
      L"12..1998", L"x12.03.1998", L"12.03.19980",  L"123.03.1998", L"12.03.1998 Thu"};
  for (const String& text : bad) {
    TDateTime value = 42;
    EXPECT_FALSE(TryStrToDate(text, value, dmy)) << ToUtf8(text);
    EXPECT_EQ(value, 42);
  }
  EXPECT_EQ(FailureOf([&] { StrToDate(L"12/03/1998", dmy); }), L"'12/03/1998' is not a valid date");
}

TEST(FormatSettingsTest, ParsesTheGridsTimeLabels) {
  const TFormatSettings locales[] = {DayMonthYear(), MonthDayYear()};
  const struct {
    const wchar_t* Text;
    int Hour, Minute;
  } labels[] = {{L"8:00", 8, 0},    {L"17:30", 17, 30}, {L"8:15", 8, 15}, {L"0:00", 0, 0},
                {L"23:45", 23, 45}, {L"9:5", 9, 5},     {L"08:00", 8, 0}, {L"8", 8, 0}};
  for (const TFormatSettings& settings : locales) {
    for (const auto& label : labels) {
      EXPECT_EQ(StrToTime(label.Text, settings), EncodeTime(label.Hour, label.Minute, 0, 0))
          << ToUtf8(label.Text);
    }
  }
}

TEST(FormatSettingsTest, ParsesSecondsFractionsAndDesignators) {
  const TFormatSettings mdy = MonthDayYear();
  const struct {
    const wchar_t* Text;
    int Hour, Minute, Second, MSec;
  } cases[] = {
      {L"17:05:09", 17, 5, 9, 0},   {L"1:02:03.5", 1, 2, 3, 500}, {L"1:02:03.045", 1, 2, 3, 45},
      {L"5:05:09 PM", 17, 5, 9, 0}, {L"5:05pm", 17, 5, 0, 0},     {L"PM 5:05", 17, 5, 0, 0},
      {L"am12:30", 0, 30, 0, 0},    {L"12:30 PM", 12, 30, 0, 0},  {L"  7 AM ", 7, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrToTime(c.Text, mdy), EncodeTime(c.Hour, c.Minute, c.Second, c.MSec))
        << ToUtf8(c.Text);
  }

  TFormatSettings local = DayMonthYear();
  local.TimeAMString = L"vorm.";
  local.TimePMString = L"nachm.";
  EXPECT_EQ(StrToTime(L"5:30 nachm.", local), EncodeTime(17, 30, 0, 0));
  EXPECT_EQ(StrToTime(L"5:30 PM", local), EncodeTime(17, 30, 0, 0));
}

TEST(FormatSettingsTest, TimesRoundTripThroughTheirText) {
  const TFormatSettings locales[] = {DayMonthYear(), MonthDayYear()};
  for (const TFormatSettings& settings : locales) {
    for (int minute = 0; minute < 1440; minute += 7) {
      const TDateTime time = EncodeTime(minute / 60, minute % 60, minute % 60, 0);
      ASSERT_EQ(StrToTime(TimeToStr(time, settings), settings), time)
          << ToUtf8(TimeToStr(time, settings));
    }
  }
}

TEST(FormatSettingsTest, RefusesTextsThatAreNoTime) {
  const TFormatSettings mdy = MonthDayYear();
  const String bad[] = {L"",       L"24:00",        L"8:60",  L"8:00:60", L"8.00",      L"8:",
                        L":15",    L"1:2:3:4",      L"13 PM", L"0:30 AM", L"AM",        L"8:00 XM",
                        L"8 : 00", L"8:00:00.1234", L"-1:00", L"123:00",  L"8:00 PM PM"};
  for (const String& text : bad) {
    TDateTime value = 42;
    EXPECT_FALSE(TryStrToTime(text, value, mdy)) << ToUtf8(text);
    EXPECT_EQ(value, 42);
  }
  EXPECT_EQ(FailureOf([&] { StrToTime(L" 24:00", mdy); }), L"' 24:00' is not a valid time");

  TFormatSettings dotted = DayMonthYear();
  dotted.TimeSeparator = L'.';
  EXPECT_EQ(FailureOf([&] { StrToTime(L"8:00", dotted); }), L"'8:00' is not a valid time");
  EXPECT_EQ(StrToTime(L"8.15", dotted), EncodeTime(8, 15, 0, 0));
}

TEST(FormatSettingsTest, ParsesIntegersIn32Bits) {
  const struct {
    const wchar_t* Text;
    int Value;
  } cases[] = {{L"0", 0},
               {L"42", 42},
               {L"-42", -42},
               {L"+7", 7},
               {L" 12 ", 12},
               {L"2147483647", INT_MAX},
               {L"-2147483648", INT_MIN},
               {L"$ff", 255},
               {L"$7FFFFFFF", INT_MAX},
               {L"$FFFFFFFF", -1},
               {L"-$10", -16},
               {L"007", 7}};
  for (const auto& c : cases) EXPECT_EQ(StrToInt(c.Text), c.Value) << ToUtf8(c.Text);

  const String bad[] = {L"",           L" ",           L"-",   L"1 2",
                        L"2147483648", L"-2147483649", L"$",   L"$1FFFFFFFF",
                        L"12a",        L"0x10",        L"1.0", L"99999999999999999999"};
  for (const String& text : bad) {
    EXPECT_EQ(FailureOf([&] { StrToInt(text); }), L"'" + text + L"' is not a valid integer value");
  }
}

}  // namespace
}  // namespace skx
