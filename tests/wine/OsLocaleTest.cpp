// The user's locale formats as Windows reports them, and the texts they produce read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "Framework/Core/FormatSettings.h"
#include "Framework/Win32/OsLocale.h"

namespace skx::test {
namespace {

TEST(OsLocale, UserFormatsAgreeWithTheSystemsOwnTexts) {
  TFormatSettings settings = ReadUserFormatSettings();
  ASSERT_FALSE(settings.ShortDateFormat.empty());
  ASSERT_FALSE(settings.LongTimeFormat.empty());
  // Set where the test runs for a chosen user locale, so that a locale Wine did not take shows.
  if (const char* separator = std::getenv("SKX_EXPECT_DATE_SEPARATOR")) {
    EXPECT_EQ(settings.DateSeparator, static_cast<wchar_t>(separator[0]));
  }

  SYSTEMTIME day = {};
  day.wYear = 1998;
  day.wMonth = 3;
  day.wDay = 12;
  day.wHour = 17;
  day.wMinute = 30;
  wchar_t systemDate[64];
  wchar_t systemTime[64];
  ASSERT_GT(::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, systemDate, 64), 0);
  ASSERT_GT(::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &day, nullptr, systemTime, 64), 0);

  TDateTime value = EncodeDate(1998, 3, 12) + EncodeTime(17, 30, 0, 0);
  EXPECT_EQ(DateToStr(value, settings), String(systemDate));
  EXPECT_EQ(TimeToStr(value, settings), String(systemTime));
  EXPECT_EQ(StrToDate(systemDate, settings), EncodeDate(1998, 3, 12));
  EXPECT_EQ(StrToTime(systemTime, settings), EncodeTime(17, 30, 0, 0));
  EXPECT_EQ(StrToTime(L"8:15", settings), EncodeTime(8, 15, 0, 0));
}

// Day and month names are the fixed English ones: a long date agrees where the user's are too.
TEST(OsLocale, ShortTimesAndLongDatesAgreeWithTheSystemsOwnTexts) {
  TFormatSettings settings = ReadUserFormatSettings();
  SYSTEMTIME day = {1998, 3, 4, 12, 17, 30, 0, 0};
  wchar_t systemTime[64];
  wchar_t systemDate[80];
  ASSERT_GT(::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &day, nullptr, systemTime, 64), 0);
  ASSERT_GT(::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &day, nullptr, systemDate, 80), 0);
  TDateTime value = EncodeDate(1998, 3, 12) + EncodeTime(17, 30, 0, 0);
  EXPECT_EQ(FormatDateTime(settings.ShortTimeFormat, value, settings), String(systemTime));
  if (PRIMARYLANGID(::GetUserDefaultLangID()) == LANG_ENGLISH) {
    EXPECT_EQ(FormatDateTime(settings.LongDateFormat, value, settings), String(systemDate));
  }
}

}  // namespace
}  // namespace skx::test
