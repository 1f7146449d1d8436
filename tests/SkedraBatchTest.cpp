// Batches of changes to the schedule grid (BeginUpdate, EndUpdate) and Refresh.
#include "TaskTestSupport.h"

namespace skx::test {
namespace {

class SkedraBatchTest : public TaskTest {
 protected:
  const TWindowRecord& Window(const TSkedra& grid) const { return *FRecorder.WindowOf(grid); }
  bool NothingInvalidated(const TSkedra& grid) const {
    return Window(grid).FullInvalidations == 0 && Window(grid).InvalidRects.empty();
  }

  // Every change a container can make to the view, then a task; the window widens, so that a
  // resize joins the refresh and the layout.
  static void ChangeEverything(TSkedra& grid, TLog& log) {
    grid.SetActiveDate(Day(17));
    TSkedraSettings settings = grid.Settings();
    settings.WeekStart = dwTue;
    settings.WeekEnd = dwSat;
    settings.TimeScale = 30;
    grid.SetSettings(settings);
    grid.SetBounds(0, 0, 640, 300);
    grid.SetSkedraType(skWeekly);
    grid.NextButton()->Click();
    grid.PrevButton()->Click();
    grid.PrevButton()->Click();
    auto task = std::make_unique<TLoggedTask>(1, log);
    task->FStartDateTime = At(12, 9, 0);
    task->FFinishDateTime = At(13, 10, 0);
    grid.TaskItems().Add(std::move(task));
  }

  // What a grid shows: its cells' texts and sizes, and where the markers stand.
  static std::vector<String> View(const TSkedra& grid) {
    std::vector<String> view{std::to_wstring(grid.ActiveDate()), std::to_wstring(grid.ColCount()),
                             std::to_wstring(grid.RowCount())};
    for (int col = 0; col < grid.ColCount(); ++col) {
      view.push_back(grid.CellText(col, 0) + L"/" + std::to_wstring(grid.ColWidths(col)));
      for (int row = 1; row < grid.RowCount(); ++row) view.push_back(grid.CellText(col, row));
    }
    TTaskItems& items = grid.TaskItems();
    for (int i = 0; i < items.Count(); ++i)
      for (const TPointControl* point : items.Items(i).Points()) {
        TRect bounds = point->BoundsRect();
        view.push_back(std::to_wstring(point->Col()) + L":" + std::to_wstring(bounds.Left) + L"," +
                       std::to_wstring(bounds.Top) + L"," + std::to_wstring(bounds.Right) + L"," +
                       std::to_wstring(bounds.Bottom));
      }
    return view;
  }
};
INSTANTIATE_TEST_SUITE_P(Locales, SkedraBatchTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(SkedraBatchTest, BatchesNestAndOnlyTheOutermostEndRecalculates) {
  TSkedra& grid = MakeDailyGrid();
  std::vector<TUpdateSkedraMode> modes;
  grid.OnUpdateSkedra = [&](TComponent*, TUpdateSkedraMode Mode) { modes.push_back(Mode); };
  grid.BeginUpdate();
  grid.BeginUpdate();
  EXPECT_EQ(grid.UpdateCount(), 2);
  grid.SetActiveDate(Day(13));
  grid.EndUpdate();
  EXPECT_EQ(grid.UpdateCount(), 1);
  EXPECT_TRUE(modes.empty());
  EXPECT_EQ(grid.CellText(2, 0), Date(12) + L" Thu");
  grid.EndUpdate();
  EXPECT_EQ(grid.UpdateCount(), 0);
  EXPECT_EQ(modes, std::vector<TUpdateSkedraMode>{umRefresh});
  EXPECT_EQ(grid.CellText(2, 0), Date(13) + L" Fri");
}

TEST_P(SkedraBatchTest, EndWithoutBeginIsRefusedAndChangesNothing) {
  TSkedra& grid = MakeDailyGrid();
  int updates = 0;
  grid.OnUpdateSkedra = [&](TComponent*, TUpdateSkedraMode) { ++updates; };
  FRecorder.ClearInvalidations();
  try {
    grid.EndUpdate();
    FAIL() << "no failure";
  } catch (const EInvalidOperation& error) {
    EXPECT_EQ(error.Message(), L"EndUpdate without BeginUpdate");
  }
  EXPECT_EQ(grid.UpdateCount(), 0);
  EXPECT_EQ(updates, 0);
  EXPECT_TRUE(NothingInvalidated(grid));
  // Nor does a batch ended twice go below zero.
  grid.BeginUpdate();
  grid.EndUpdate();
  EXPECT_THROW(grid.EndUpdate(), EInvalidOperation);
  EXPECT_EQ(grid.UpdateCount(), 0);
}

// However many changes a batch holds, the window hears of them once, as one repaint of the
// whole, and the update event comes once, in the strongest mode.
TEST_P(SkedraBatchTest, ABatchRecalculatesPlacesAndRepaintsOnceAtItsEnd) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(2, At(12, 11, 0), At(12, 12, 0));
  grid.Refresh();
  std::vector<TUpdateSkedraMode> modes;
  grid.OnUpdateSkedra = [&](TComponent*, TUpdateSkedraMode Mode) { modes.push_back(Mode); };
  FRecorder.ClearInvalidations();
  grid.BeginUpdate();
  ChangeEverything(grid, FLog);
  grid.Refresh();
  grid.SetTopLeft(2, 20);
  EXPECT_TRUE(NothingInvalidated(grid));
  EXPECT_TRUE(modes.empty());
  EXPECT_TRUE(Item(1).Points().empty());
  grid.EndUpdate();
  EXPECT_EQ(modes, std::vector<TUpdateSkedraMode>{umLayout});
  EXPECT_EQ(Window(grid).FullInvalidations, 1);
  EXPECT_TRUE(Window(grid).InvalidRects.empty());
  EXPECT_EQ(Item(1).Points().size(), 2u);
  EXPECT_EQ(Item(0).Points().size(), 1u);
}

TEST_P(SkedraBatchTest, ChangesInsideABatchEndAsTheSameChangesMadeOneByOne) {
  TSkedra& direct = MakeDailyGrid();
  std::unique_ptr<TSkedra> kept = std::move(FGrid);
  ChangeEverything(direct, FLog);
  direct.Refresh();
  TSkedra& batched = MakeDailyGrid();
  batched.BeginUpdate();
  ChangeEverything(batched, FLog);
  // The active date reads as set and stepped, before the headings follow.
  EXPECT_EQ(batched.ActiveDate(), direct.ActiveDate());
  EXPECT_EQ(batched.ColCount(), 3);
  batched.EndUpdate();
  EXPECT_EQ(View(batched), View(direct));
  EXPECT_EQ(batched.ColCount(), 7);
  EXPECT_EQ(batched.CellText(2, 0), Date(10) + L" Tue");
}

// A daily refresh leaves the day column's width alone; the resize asked for in the same batch
// still happens.
TEST_P(SkedraBatchTest, AResizeAndARefreshInOneBatchBothHappen) {
  TSkedra& grid = MakeDailyGrid();
  grid.BeginUpdate();
  grid.SetBounds(0, 0, 500, 300);
  grid.SetSettings(grid.Settings());
  grid.EndUpdate();
  EXPECT_EQ(grid.ColWidths(2), grid.ClientWidth() - 50 - 3);
}

// Inside a batch the markers are those of the last placement, or none: whatever reads them
// meanwhile finds what is there.
TEST_P(SkedraBatchTest, MarkersInsideABatchAreThoseOfTheLastPlacementOrNone) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 0, 0), At(12, 1, 0));
  AddTask(2, At(12, 2, 0), At(12, 3, 0));
  grid.Refresh();
  TRect first = BoundsOf(0);
  grid.BeginUpdate();
  grid.TaskItems().Delete(2);
  EXPECT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(grid.ControlAtPos(TPoint{first.Left + 2, first.Top + 2}), &Marker(0));
  grid.SetActiveDate(Day(11));
  EXPECT_TRUE(Item(0).Points().empty());
  EXPECT_EQ(grid.ControlAtPos(TPoint{first.Left + 2, first.Top + 2}), nullptr);
  TAccessibleModel& accessible = *grid.Accessible();
  for (int element = 0; element <= accessible.ChildCount(); ++element) {
    accessible.Name(element);
    accessible.Bounds(element);
  }
  grid.EndUpdate();
  EXPECT_TRUE(Item(0).Points().empty());
  grid.SetActiveDate(Day(12));
  EXPECT_EQ(BoundsOf(0), first);
}

TEST_P(SkedraBatchTest, RefreshShowsTheTasksGivenToAdd) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 0, 0), At(12, 1, 0));
  ASSERT_TRUE(Item(0).Points().empty());
  FRecorder.ClearInvalidations();
  grid.Refresh();
  ASSERT_EQ(Item(0).Points().size(), 1u);
  EXPECT_TRUE(ShownOf(0));
  EXPECT_GT(Window(grid).FullInvalidations, 0);

  AddTask(2, At(12, 2, 0), At(12, 3, 0));
  grid.BeginUpdate();
  grid.Refresh();
  EXPECT_TRUE(Item(1).Points().empty());
  grid.EndUpdate();
  EXPECT_EQ(Item(1).Points().size(), 1u);
}

TEST_P(SkedraBatchTest, AFailingUpdateHandlerEndsTheBatchAllTheSame) {
  TSkedra& grid = MakeDailyGrid();
  grid.OnUpdateSkedra = [](TComponent*, TUpdateSkedraMode) { throw EConvertError(L"handler"); };
  grid.BeginUpdate();
  grid.SetActiveDate(Day(13));
  EXPECT_THROW(grid.EndUpdate(), EConvertError);
  EXPECT_EQ(grid.UpdateCount(), 0);
  FRecorder.ClearInvalidations();
  grid.Invalidate();
  EXPECT_EQ(Window(grid).FullInvalidations, 1);
  grid.OnUpdateSkedra = nullptr;
  grid.BeginUpdate();
  grid.EndUpdate();
  EXPECT_EQ(grid.UpdateCount(), 0);
}

TEST_P(SkedraBatchTest, AGridFreedInsideABatchOrAtItsEndLeavesNothingBehind) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 0, 0), At(12, 1, 0));
  grid.BeginUpdate();
  grid.BeginUpdate();
  grid.SetActiveDate(Day(13));
  FGrid.reset();

  TSkedra& other = MakeDailyGrid();
  AddTask(1, At(12, 0, 0), At(12, 1, 0));
  TWeakRef<TSkedra> alive(&other);
  other.OnUpdateSkedra = [this](TComponent*, TUpdateSkedraMode) { FGrid.reset(); };
  other.BeginUpdate();
  other.SetSkedraType(skWeekly);
  other.EndUpdate();
  EXPECT_TRUE(alive.Expired());
}

// A handler that opens a batch at the end of another keeps it open, with the window's repaints
// held back until it ends.
TEST_P(SkedraBatchTest, ABatchOpenedByTheEndsHandlerStaysOpen) {
  TSkedra& grid = MakeDailyGrid();
  grid.OnUpdateSkedra = [&](TComponent*, TUpdateSkedraMode) {
    grid.OnUpdateSkedra = nullptr;
    grid.BeginUpdate();
  };
  grid.BeginUpdate();
  grid.SetActiveDate(Day(13));
  FRecorder.ClearInvalidations();
  grid.EndUpdate();
  EXPECT_EQ(grid.UpdateCount(), 1);
  EXPECT_TRUE(NothingInvalidated(grid));
  grid.EndUpdate();
  EXPECT_EQ(Window(grid).FullInvalidations, 1);
}

}  // namespace
}  // namespace skx::test
