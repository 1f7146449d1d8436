// Placement of the task markers: rows covered, width shared by overlap groups, scrolling.
#include <cmath>
#include <utility>
#include <vector>

#include "TaskTestSupport.h"

namespace skx::test {
namespace {

using TaskPlacementTest = TaskTest;
INSTANTIATE_TEST_SUITE_P(Locales, TaskPlacementTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(TaskPlacementTest, LoneTaskCoversItsRowsAndFollowsTheScroll) {
  TSkedra& grid = MakeDailyGrid();
  ASSERT_EQ(grid.ColWidths(2), 300);
  AddTask(1, At(12, 9, 0), At(12, 9, 45));
  EXPECT_TRUE(Item(0).Points().empty());
  grid.TaskItems().Arrange();
  ASSERT_EQ(Item(0).Points().size(), 1u);
  EXPECT_EQ(Marker(0).Col(), 2);
  EXPECT_EQ(BoundsOf(0), Bounds(60, 629, 290, 68));
  EXPECT_TRUE(ShownOf(0));
  std::size_t windows = FRecorder.Windows.size();
  grid.SetTopLeft(2, 30);
  EXPECT_EQ(BoundsOf(0), Bounds(60, 136, 290, 68));
  grid.SetTopLeft(2, 33);
  EXPECT_EQ(BoundsOf(0), Bounds(60, 136 - 3 * 17, 290, 68));
  EXPECT_EQ(FRecorder.Windows.size(), windows);
}

TEST_P(TaskPlacementTest, StartScrolledOutOfViewPinsTheMarkerBelowTheHeadings) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 7, 0), At(12, 9, 0));
  grid.SetTopLeft(2, 30);
  EXPECT_EQ(BoundsOf(0), Bounds(60, 17, 290, 136));
  grid.SetTopLeft(2, 31);
  EXPECT_EQ(BoundsOf(0), Bounds(60, 17, 290, 119));
}

TEST_P(TaskPlacementTest, OverlappingTasksShareTheWidthInCollectionOrder) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 30), At(12, 11, 0));
  AddTask(2, At(12, 9, 0), At(12, 10, 0));
  grid.TaskItems().Arrange();
  EXPECT_EQ(BoundsOf(0), Bounds(60, 39 * 17, 145, 7 * 17));
  EXPECT_EQ(BoundsOf(1), Bounds(205, 37 * 17, 145, 5 * 17));
}

TEST_P(TaskPlacementTest, TouchingTasksChainIntoOneGroup) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 10, 0));
  AddTask(2, At(12, 10, 0), At(12, 11, 0));
  AddTask(3, At(12, 11, 0), At(12, 12, 0));
  AddTask(4, At(12, 14, 0), At(12, 15, 0));
  grid.TaskItems().Arrange();
  EXPECT_EQ(BoundsOf(0).Left, 60);
  EXPECT_EQ(BoundsOf(1).Left, 156);
  EXPECT_EQ(BoundsOf(2).Left, 252);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(BoundsOf(i).Width(), 96) << i;
  EXPECT_EQ(BoundsOf(3), Bounds(60, 57 * 17, 290, 5 * 17));
}

TEST_P(TaskPlacementTest, TimesBetweenSlotBoundariesMoveToTheNextRow) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 5), At(12, 9, 50));
  grid.TaskItems().Arrange();
  EXPECT_EQ(BoundsOf(0), Bounds(60, 38 * 17, 290, 4 * 17));
  grid.TaskItems().Clear();
  AddTask(2, At(12, 9, 0), At(12, 9, 5));
  AddTask(3, At(12, 9, 10), At(12, 9, 20));
  grid.TaskItems().Arrange();
  // Apart in time, so each gets the full width, yet both cover the 9:15 row.
  EXPECT_EQ(BoundsOf(0), Bounds(60, 37 * 17, 290, 2 * 17));
  EXPECT_EQ(BoundsOf(1), Bounds(60, 38 * 17, 290, 2 * 17));
}

TEST_P(TaskPlacementTest, TaskOverSeveralDaysRunsToTheEdgesOfEachDay) {
  TSkedra& grid = MakeLoggedWeeklyGrid();
  AddTask(1, At(9, 15, 0), At(11, 10, 0));
  AddTask(2, At(10, 9, 0), At(10, 10, 0));
  grid.TaskItems().Arrange();
  ASSERT_EQ(Item(0).Points().size(), 3u);
  int left = 50;
  int width = grid.ColWidths(2) - 10;
  EXPECT_EQ(BoundsOf(0, 0), Bounds(left + 10, 61 * 17, width, 36 * 17));
  left += grid.ColWidths(2);
  EXPECT_EQ(BoundsOf(0, 1), Bounds(left + 10, 17, width / 2, 96 * 17));
  EXPECT_EQ(BoundsOf(1), Bounds(left + 10 + width / 2, 37 * 17, width / 2, 5 * 17));
  left += grid.ColWidths(3);
  EXPECT_EQ(BoundsOf(0, 2), Bounds(left + 10, 17, width, 41 * 17));
}

TEST_P(TaskPlacementTest, MarkersExistOnlyForShownDays) {
  TSkedra& grid = MakeLoggedWeeklyGrid();
  AddTask(1, At(2, 9, 0), At(6, 9, 0));
  AddTask(2, At(14, 9, 0), At(20, 9, 0));
  AddTask(3, At(1, 9, 0), At(31, 9, 0));
  grid.TaskItems().Arrange();
  EXPECT_TRUE(Item(0).Points().empty());
  EXPECT_TRUE(Item(1).Points().empty());
  ASSERT_EQ(Item(2).Points().size(), 5u);
  for (int col = 0; col < 5; ++col) EXPECT_EQ(Marker(2, col).Col(), col + 2);
}

TEST_P(TaskPlacementTest, ChangedDatesKeepTheOldMarkersUntilTheyAreReleased) {
  TSkedra& grid = MakeLoggedWeeklyGrid();
  TLoggedTask& moved = AddTask(1, At(12, 9, 0), At(12, 10, 0));
  AddTask(2, At(12, 9, 30), At(13, 11, 0));
  grid.TaskItems().Arrange();
  ASSERT_EQ(Marker(0).Col(), 5);
  int half = (grid.ColWidths(5) - 10) / 2;
  moved.FStartDateTime = At(13, 10, 0);
  moved.FFinishDateTime = At(13, 10, 30);
  grid.TaskItems().Arrange();
  ASSERT_EQ(Item(0).Points().size(), 2u);
  EXPECT_FALSE(ShownOf(0, 0));
  EXPECT_EQ(Marker(0, 1).Col(), 6);
  // The hidden marker still holds the first slot of its column.
  EXPECT_EQ(BoundsOf(1, 0).Width(), half);
  EXPECT_EQ(BoundsOf(1, 0).Left, 50 + 3 * grid.ColWidths(2) + 10 + half);
  grid.SetActiveDate(Day(12));
  ASSERT_EQ(Item(0).Points().size(), 1u);
  EXPECT_EQ(Marker(0).Col(), 6);
  EXPECT_EQ(BoundsOf(1, 0).Width(), grid.ColWidths(5) - 10);
}

TEST_P(TaskPlacementTest, MarkerWithoutRoomIsHidden) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 1, 0), At(12, 2, 0));
  AddTask(2, At(12, 9, 0), At(12, 10, 0));
  grid.SetTopLeft(2, 30);
  EXPECT_FALSE(ShownOf(0));
  EXPECT_TRUE(ShownOf(1));
  grid.SetBounds(0, 0, grid.Width() - 290, 300);
  ASSERT_EQ(grid.ColWidths(2), 10);
  EXPECT_FALSE(ShownOf(1));
  EXPECT_EQ(BoundsOf(1).Width(), 290);
}

TEST_P(TaskPlacementTest, MarkerIsAFramedWindowlessChildOfTheGrid) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  AddTask(2, At(11, 9, 0), At(11, 9, 0));
  const std::size_t windows = FRecorder.Windows.size();
  grid.TaskItems().Arrange();
  EXPECT_EQ(FRecorder.Windows.size(), windows);
  EXPECT_TRUE(Marker(0).ControlStyle().Contains(csFramed));
  EXPECT_TRUE(Marker(0).ControlStyle().Contains(csOpaque));
  EXPECT_EQ(Marker(0).ClientRect(), (TRect{0, 0, Marker(0).Width() - 2, Marker(0).Height() - 2}));
  EXPECT_EQ(Marker(0).Parent(), &grid);
  EXPECT_EQ(Marker(0).Owner(), &grid);
  EXPECT_EQ(&Marker(0).Item(), &Item(0));
  EXPECT_TRUE(Item(1).Points().empty());
}

// A container can store any number in a task's dates: such a task gets no marker, and the rest
// of the grid keeps working.
TEST_P(TaskPlacementTest, TaskWithDatesOutsideTheCalendarGetsNoMarkerAndStopsNothing) {
  TSkedra& grid = MakeLoggedWeeklyGrid();
  const double nan = std::nan("");
  const std::vector<std::pair<double, double>> spans = {
      {-700000, At(12, 10, 0)}, {At(12, 9, 0), 3000000}, {At(12, 9, 0), 1e7},
      {nan, At(12, 9, 0)},      {At(12, 9, 0), HUGE_VAL}, {-HUGE_VAL, At(12, 9, 0)},
      {nan, nan}};
  AddTask(1, At(12, 9, 0), At(12, 9, 45));
  for (std::size_t i = 0; i < spans.size(); ++i)
    AddTask(10 + static_cast<int>(i), spans[i].first, spans[i].second);
  grid.TaskItems().Arrange();
  ASSERT_EQ(Item(0).Points().size(), 1u);
  EXPECT_TRUE(ShownOf(0));
  EXPECT_EQ(BoundsOf(0).Width(), grid.ColWidths(Marker(0).Col()) - 10);
  for (std::size_t i = 1; i <= spans.size(); ++i) EXPECT_TRUE(Item(i).Points().empty()) << i;

  grid.NextButtonClick(nullptr);
  grid.PrevButtonClick(nullptr);
  grid.SetActiveDate(Day(13));
  EXPECT_TRUE(ShownOf(0));
  grid.SetSelection(TCellRect{3, 37, 3, 40});
  Choose(L"New task...");
  grid.ContextPopup(100, 100);
  EXPECT_EQ(grid.TaskItems().Count(), 9);
}

TEST_P(TaskPlacementTest, MarkerOfATaskWhoseDatesBecameUnplaceableIsHidden) {
  TSkedra& grid = MakeDailyGrid();
  TLoggedTask& task = AddTask(1, At(12, 9, 0), At(12, 9, 45));
  grid.TaskItems().Arrange();
  ASSERT_TRUE(ShownOf(0));
  task.FFinishDateTime = std::nan("");
  grid.TaskItems().Arrange();
  EXPECT_FALSE(ShownOf(0));
}

// A time within half a millisecond of midnight is that midnight, for the column as for the row.
TEST_P(TaskPlacementTest, TimesRoundedToMidnightBelongToTheNextDay) {
  TSkedra& grid = MakeLoggedWeeklyGrid();
  const TDateTime almost = Day(12) - 1e-9;
  const int col12 = grid.DateTimeToCell(Day(12)).Col;
  EXPECT_EQ(grid.DateTimeToCell(almost), (TCellCoord{col12, 1}));

  AddTask(1, At(11, 22, 0), almost);
  AddTask(2, almost, At(12, 1, 0));
  grid.TaskItems().Arrange();
  ASSERT_EQ(Item(0).Points().size(), 2u);
  EXPECT_EQ(Marker(0, 0).Col(), col12 - 1);
  EXPECT_EQ(BoundsOf(0, 0).Height(), 8 * 17);
  EXPECT_EQ(Marker(0, 1).Col(), col12);
  EXPECT_EQ(BoundsOf(0, 1).Height(), 17);
  ASSERT_EQ(Item(1).Points().size(), 1u);
  EXPECT_EQ(Marker(1).Col(), col12);
  EXPECT_EQ(BoundsOf(1).Height(), 5 * 17);
}

// With a scale that does not divide a day the last row ends before midnight; later times stay
// in it instead of reaching below the grid.
TEST_P(TaskPlacementTest, LateTasksStayInsideTheGridForScalesThatDoNotDivideADay) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 23, 50), At(12, 23, 59));
  for (int scale : {7, 255}) {
    TSkedraSettings settings = grid.Settings();
    settings.TimeScale = static_cast<std::uint8_t>(scale);
    grid.SetSettings(settings);
    grid.SetTopLeft(2, grid.RowCount() - 1);
    EXPECT_EQ(grid.DateTimeToCell(At(12, 23, 59)).Row, grid.RowCount() - 1) << scale;
    const int gridBottom = (grid.RowCount() - grid.TopVisibleRow() + grid.FixedRows()) * 17;
    ASSERT_EQ(Item(0).Points().size(), 1u);
    EXPECT_TRUE(ShownOf(0)) << scale;
    EXPECT_LE(BoundsOf(0).Bottom, gridBottom) << scale;
    EXPECT_EQ(BoundsOf(0).Height(), 17) << scale;
  }
}

TEST_P(TaskPlacementTest, MarkersBeyondThirtyTwoBitCoordinatesAreHidden) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 45));
  grid.TaskItems().Arrange();
  ASSERT_TRUE(ShownOf(0));
  grid.SetDefaultRowHeight(100000000);
  grid.TaskItems().Arrange();
  EXPECT_FALSE(ShownOf(0));
}


}  // namespace
}  // namespace skx::test
