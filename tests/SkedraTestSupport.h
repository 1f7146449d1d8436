// Fixtures shared by the schedule grid tests: locales, a fixed today and a headless window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/FormatSettings.h"
#include "Framework/Core/HeadlessPeer.h"
#include "SkedraComp/Skedra.h"

namespace skx::test {

struct TLocaleCase {
  const char* Name;
  TFormatSettings Settings;
  // The heading of Thursday 12 March 1998 in this locale.
  const wchar_t* Heading;
};

inline TFormatSettings DayMonthYear() {
  TFormatSettings settings;
  settings.ShortDateFormat = L"dd.MM.yyyy";
  settings.LongDateFormat = L"dddd, d. MMMM yyyy";
  settings.DateSeparator = L'.';
  settings.LongTimeFormat = L"HH:mm:ss";
  settings.ShortTimeFormat = L"HH:mm";
  return settings;
}

inline TFormatSettings MonthDayYear() {
  TFormatSettings settings;
  settings.ShortDateFormat = L"M/d/yyyy";
  settings.LongDateFormat = L"dddd, MMMM d, yyyy";
  settings.DateSeparator = L'/';
  settings.LongTimeFormat = L"h:mm:ss tt";
  settings.ShortTimeFormat = L"h:mm tt";
  return settings;
}

// A short date with blanks in it, as several European locales write it.
inline TFormatSettings SpacedDayMonthYear() {
  TFormatSettings settings = DayMonthYear();
  settings.ShortDateFormat = L"d. M. yyyy";
  return settings;
}

inline const TLocaleCase LocaleCases[] = {
    {"DayMonthYear", DayMonthYear(), L"12.03.1998 Thu"},
    {"MonthDayYear", MonthDayYear(), L"3/12/1998 Thu"},
    {"SpacedDayMonthYear", SpacedDayMonthYear(), L"12. 3. 1998 Thu"},
};

// Names the locale in test listings instead of dumping the case's bytes.
inline void PrintTo(const TLocaleCase& locale, std::ostream* out) { *out << locale.Name; }

inline std::string LocaleName(const ::testing::TestParamInfo<TLocaleCase>& info) {
  return info.param.Name;
}

// Thursday 12 March 1998 is today; the grid gets a 400 by 300 window when asked for one.
class SkedraTest : public ::testing::TestWithParam<TLocaleCase> {
 protected:
  void SetUp() override {
    FSaved = GetFormatSettings();
    SetFormatSettings(GetParam().Settings);
  }
  void TearDown() override {
    FGrid.reset();
    SetFormatSettings(FSaved);
  }

  TSkedra& MakeGrid(bool withWindow = true) {
    FGrid = std::make_unique<TSkedra>(nullptr, FClock);
    FGrid->SetBounds(0, 0, 400, 300);
    if (withWindow) {
      FGrid->SetPeer(FRecorder.CreatePeer());
      FGrid->HandleNeeded();
    }
    return *FGrid;
  }

  TSkedra& MakeWeeklyGrid() {
    TSkedra& grid = MakeGrid();
    grid.SetSkedraType(skWeekly);
    return grid;
  }

  static TDateTime Day(int day) { return EncodeDate(1998, 3, day); }
  static String Date(int day) { return DateToStr(Day(day)); }

  TFixedClock FClock{EncodeDate(1998, 3, 12)};
  THeadlessRecorder FRecorder;
  std::unique_ptr<TSkedra> FGrid;

 private:
  TFormatSettings FSaved;
};

}  // namespace skx::test
