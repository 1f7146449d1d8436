// Conversions between the schedule grid's cells and date-times, and the weekday helpers.
#include <cmath>

#include "SkedraTestSupport.h"

namespace skx::test {
namespace {

using SkedraTimeTest = SkedraTest;
INSTANTIATE_TEST_SUITE_P(Locales, SkedraTimeTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(SkedraTimeTest, DateTimeToCellMapsIntoTheNextSlotBoundary) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  EXPECT_EQ(grid.DateTimeToCell(Day(12)), (TCellCoord{2, 1}));
  EXPECT_EQ(grid.DateTimeToCell(Day(12) + EncodeTime(8, 0, 0, 0)), (TCellCoord{2, 33}));
  EXPECT_EQ(grid.DateTimeToCell(Day(12) + EncodeTime(8, 1, 0, 0)), (TCellCoord{2, 34}));
  EXPECT_EQ(grid.DateTimeToCell(Day(12) + EncodeTime(8, 10, 59, 999)).Row, 34);
  // Past the last slot's start there is no later boundary inside the day: the last row.
  EXPECT_EQ(grid.DateTimeToCell(Day(12) + EncodeTime(23, 59, 0, 0)).Row, grid.RowCount() - 1);
  EXPECT_EQ(grid.DateTimeToCell(Day(11) + EncodeTime(8, 0, 0, 0)), (TCellCoord{-1, 33}));
  EXPECT_EQ(grid.DateTimeToCell(Day(13)).Col, -1);
}

TEST_P(SkedraTimeTest, DatesOutsideTheCalendarAreRefusedAndChangeNothing) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  for (double date : {-2147483000.0, 1e300, -693594.0, 2958466.0, std::nan(""), HUGE_VAL,
                      -HUGE_VAL}) {
    EXPECT_THROW(grid.SetActiveDate(date), ERangeError) << date;
    EXPECT_THROW(grid.DateTimeToCell(date), ERangeError) << date;
  }
  // The days shown beside the last days of the calendar would have no heading.
  EXPECT_THROW(grid.SetActiveDate(2958462.0), ERangeError);
  EXPECT_EQ(grid.ActiveDate(), Day(12));
  EXPECT_EQ(grid.CellText(2, 0), Date(12) + L" Thu");
  EXPECT_EQ(grid.DateTimeToCell(Day(12)), (TCellCoord{2, 1}));
}

TEST_P(SkedraTimeTest, DateTimeToCellFindsEachShownDayOfTheWeek) {
  TSkedra& grid = MakeWeeklyGrid();
  EXPECT_EQ(grid.DateTimeToCell(Day(8)).Col, -1);
  EXPECT_EQ(grid.DateTimeToCell(Day(9) + 0.5).Col, 2);
  EXPECT_EQ(grid.DateTimeToCell(Day(13) + 0.99).Col, 6);
  EXPECT_EQ(grid.DateTimeToCell(Day(14)).Col, -1);
}

TEST_P(SkedraTimeTest, CellTimesComeFromTheShownDaysAndTimeScale) {
  TSkedra& grid = MakeGrid();
  grid.SetActiveDate(Day(12) + 0.75);
  grid.SetSkedraType(skDaily);
  EXPECT_DOUBLE_EQ(grid.RowTime(33), EncodeTime(8, 0, 0, 0));
  EXPECT_DOUBLE_EQ(grid.ColumnDate(2), Day(12));
  EXPECT_DOUBLE_EQ(grid.CellToDateTime(2, 33), Day(12) + EncodeTime(8, 0, 0, 0));
  for (int row = 1; row < grid.RowCount(); ++row)
    ASSERT_EQ(grid.DateTimeToCell(grid.CellToDateTime(2, row)), (TCellCoord{2, row}));
}

TEST_P(SkedraTimeTest, CurrentDateIsTheDateOfTheCurrentCellsColumn) {
  TSkedra& grid = MakeWeeklyGrid();
  TRect cell = grid.CellRect(4, 3);
  grid.MouseDown(mbLeft, {}, cell.Left + 1, cell.Top + 1);
  EXPECT_EQ(grid.CurrentCol(), 4);
  EXPECT_DOUBLE_EQ(grid.GetCurrentDate(), Day(11));
}

// The headings and labels are only shown: text written over them moves no date or time, and
// cells that are neither day columns nor time rows have none.
TEST_P(SkedraTimeTest, CellTimesIgnoreTheTextsAndExistOnlyForDaysAndSlots) {
  TSkedra& grid = MakeGrid();
  TDateTime value = 0;
  EXPECT_FALSE(grid.TryColumnDate(2, value));
  EXPECT_FALSE(grid.TryRowTime(33, value));
  grid.SetSkedraType(skDaily);
  grid.SetCellText(2, 0, L"Thursday");
  grid.SetCellText(0, 33, L"x");
  EXPECT_DOUBLE_EQ(grid.CellToDateTime(2, 33), Day(12) + EncodeTime(8, 0, 0, 0));
  for (int col : {0, 1, 3}) EXPECT_FALSE(grid.TryColumnDate(col, value)) << col;
  for (int row : {0, grid.RowCount()}) EXPECT_FALSE(grid.TryRowTime(row, value)) << row;
  try {
    grid.ColumnDate(1);
    FAIL() << "no failure";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), L"'' is not a valid date");
  }
  EXPECT_THROW(grid.CellToDateTime(2, 0), EConvertError);
}

// The working hours are fixed times of day and the row labels are written with a colon, so a
// locale that separates times otherwise changes nothing.
TEST(SkedraLocaleTest, TimeSeparatorOtherThanColonKeepsDefaultsAndRowTimes) {
  TFormatSettings saved = GetFormatSettings();
  TFormatSettings dotted = DayMonthYear();
  dotted.TimeSeparator = L'.';
  SetFormatSettings(dotted);
  TFixedClock clock(EncodeDate(1998, 3, 12));
  {
    TSkedra grid(nullptr, clock);
    EXPECT_EQ(grid.Settings().DayStart, EncodeTime(8, 0, 0, 0));
    EXPECT_EQ(grid.Settings().DayEnd, EncodeTime(17, 30, 0, 0));
    grid.SetSkedraType(skDaily);
    EXPECT_EQ(grid.RowTime(35), EncodeTime(8, 30, 0, 0));
    EXPECT_EQ(grid.CellToDateTime(2, 35), EncodeDate(1998, 3, 12) + EncodeTime(8, 30, 0, 0));
  }
  SetFormatSettings(saved);
}

TEST(SkedraWeekDayTest, WeekDaysCountFromMondayAndNamesStayEnglish) {
  const wchar_t* names[] = {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"};
  for (int i = 0; i < 7; ++i) {
    TDateTime day = EncodeDate(1998, 3, 9 + i) + 0.99;
    EXPECT_EQ(TSkedra::WeekDayOf(day), i);
    EXPECT_EQ(TSkedra::DayNameOf(day), names[i]);
  }
}

}  // namespace
}  // namespace skx::test
