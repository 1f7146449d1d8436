// Conversions between the schedule grid's cells and date-times, and the weekday helpers.
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
  TCellCoord last = grid.DateTimeToCell(Day(12) + EncodeTime(23, 59, 0, 0));
  EXPECT_EQ(last.Row, 97);
  EXPECT_EQ(last.Row, grid.RowCount());
  EXPECT_EQ(grid.DateTimeToCell(Day(11) + EncodeTime(8, 0, 0, 0)), (TCellCoord{-1, 33}));
  EXPECT_EQ(grid.DateTimeToCell(Day(13)).Col, -1);
}

TEST_P(SkedraTimeTest, DayDistanceBeyondThirtyTwoBitsFailsWithIntegerOverflow) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  // The headings fail, but the date stays assigned.
  EXPECT_THROW(grid.SetActiveDate(-2147483000.0), ERangeError);
  try {
    grid.DateTimeToCell(Day(12));
    FAIL() << "no failure";
  } catch (const EIntOverflow& error) {
    EXPECT_EQ(error.Message(), L"Integer overflow");
  }
}

TEST_P(SkedraTimeTest, DateTimeToCellFindsEachShownDayOfTheWeek) {
  TSkedra& grid = MakeWeeklyGrid();
  EXPECT_EQ(grid.DateTimeToCell(Day(8)).Col, -1);
  EXPECT_EQ(grid.DateTimeToCell(Day(9) + 0.5).Col, 2);
  EXPECT_EQ(grid.DateTimeToCell(Day(13) + 0.99).Col, 6);
  EXPECT_EQ(grid.DateTimeToCell(Day(14)).Col, -1);
}

TEST_P(SkedraTimeTest, CellTimesComeFromTheHeadingAndLabelTexts) {
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

TEST_P(SkedraTimeTest, HeadingThatIsNotADateFailsToConvert) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  grid.SetCellText(2, 0, L"Thursday");
  try {
    grid.ColumnDate(2);
    FAIL() << "no failure";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), L"'' is not a valid date");
  }
  grid.SetCellText(2, 0, L"32.13.1998 Thu");
  EXPECT_THROW(grid.CellToDateTime(2, 1), EConvertError);
}

TEST(SkedraLocaleTest, TimeSeparatorOtherThanColonFailsInTheConstructor) {
  TFormatSettings saved = GetFormatSettings();
  TFormatSettings dotted = DayMonthYear();
  dotted.TimeSeparator = L'.';
  SetFormatSettings(dotted);
  TFixedClock clock(EncodeDate(1998, 3, 12));
  try {
    TSkedra grid(nullptr, clock);
    ADD_FAILURE() << "no failure";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), L"'8:00' is not a valid time");
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
