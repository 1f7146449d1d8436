// The grid's clicks, double clicks and keys, and the before-events of the user's deletions and
// updates.
#include "SkedraComp/SkedraAccessible.h"
#include "TaskTestSupport.h"

namespace skx::test {
namespace {

class SkedraInputTest : public TaskTest {
 protected:
  // The daily view of Thursday from eight on, with the grid's events and the new ones logged;
  // the before-events cancel while FCancel is set.
  TSkedra& MakeInputGrid() {
    TSkedra& grid = MakeDailyGrid();
    grid.SetTopLeft(grid.LeftVisibleCol(), grid.DateTimeToCell(At(12, 8, 0)).Row);
    auto cancelAs = [this](const wchar_t* what) {
      return [this, what](TComponent*, TTaskObject* Task, bool& Cancel) {
        FLog.push_back(Entry(what, Task));
        Cancel = FCancel;
      };
    };
    grid.OnBeforeDeleteTask = cancelAs(L"BeforeDelete");
    grid.OnBeforeUpdateTask = cancelAs(L"BeforeUpdate");
    grid.OnClick = [this](TComponent*) { FLog.push_back(L"Click"); };
    grid.OnDblClick = [this](TComponent*) { FLog.push_back(L"DblClick"); };
    return grid;
  }

  // A left press and release through the grid's window, the press as the second of a double
  // click when asked; the release goes to the window only while the grid is still there.
  void Click(TPoint at, bool second = false) {
    TShiftState press{ssLeft};
    if (second) press.Include(ssDouble);
    FGrid->WindowMouseDown(mbLeft, press, at.X, at.Y);
    if (FGrid) FGrid->WindowMouseUp(mbLeft, {}, at.X, at.Y);
  }
  void DoubleClick(TPoint at) {
    Click(at);
    if (FGrid) Click(at, true);
  }
  TPoint InMarker(int index) {
    const TRect bounds = BoundsOf(index);
    return TPoint{bounds.Left + 20, bounds.Top + 3};
  }
  TPoint InCell(int col, int row) {
    const TRect cell = FGrid->CellRect(col, row);
    return TPoint{cell.Left + 3, cell.Top + 3};
  }
  // The key as the grid leaves it: 0 when it acted on it.
  int Key(int key, TShiftState shift = {}) {
    FGrid->KeyDown(key, shift);
    return key;
  }
  int SelectedId() const {
    return FGrid->SelectedItem() ? FGrid->SelectedItem()->Task()->FID : -1;
  }
  void DesignMode() {
    TAmbientProperties designing;
    designing.UserMode = false;
    FGrid->TakeAmbient(designing);
  }

  bool FCancel = false;
};
INSTANTIATE_TEST_SUITE_P(Locales, SkedraInputTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(SkedraInputTest, AReleaseOfALeftPressOnTheCellsOrAMarkerIsAClickAfterTheSelectEvent) {
  TSkedra& grid = MakeInputGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 30));
  grid.TaskItems().Arrange();
  Click(InMarker(0));
  Click(InCell(2, grid.DateTimeToCell(At(12, 11, 0)).Row));
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Click", L"Unselect 1", L"Click"}));

  // Not clicks: a release outside the window or the marker, the headings, the right button.
  FLog.clear();
  const TPoint cell = InCell(2, grid.DateTimeToCell(At(12, 11, 0)).Row);
  grid.WindowMouseDown(mbLeft, {ssLeft}, cell.X, cell.Y);
  grid.WindowMouseUp(mbLeft, {}, cell.X, grid.ClientHeight() + 5);
  const TPoint marker = InMarker(0);
  grid.WindowMouseDown(mbLeft, {ssLeft}, marker.X, marker.Y);
  grid.WindowMouseUp(mbLeft, {}, marker.X, BoundsOf(0).Bottom + 5);
  Click(InCell(2, 0));
  Click(InCell(0, 40));
  grid.WindowMouseDown(mbRight, {ssRight}, cell.X, cell.Y);
  grid.WindowMouseUp(mbRight, {}, cell.X, cell.Y);
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Unselect 1"}));
}

TEST_P(SkedraInputTest, ADoubleClickOnAMarkerSelectsOnceThenAsksAndOpensUpdate) {
  TSkedra& grid = MakeInputGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 30));
  grid.TaskItems().Arrange();
  DoubleClick(InMarker(0));
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Click", L"DblClick", L"BeforeUpdate 1", L"Edit 1", L"Update 1"}));
  EXPECT_EQ(SelectedId(), 1);

  // Cancelled: no dialog and no event.
  FLog.clear();
  FCancel = true;
  Click(InMarker(0), true);
  EXPECT_EQ(FLog, TLog({L"DblClick", L"BeforeUpdate 1"}));

  // A second press on a marker that is not the selected one selects it first.
  FLog.clear();
  FCancel = false;
  grid.TaskItems().Clear();
  AddTask(2, At(12, 9, 0), At(12, 9, 30));
  grid.TaskItems().Arrange();
  FLog.clear();
  Click(InMarker(0), true);
  EXPECT_EQ(FLog, TLog({L"Select 2", L"DblClick", L"BeforeUpdate 2", L"Edit 2", L"Update 2"}));

  // On a form being designed the double click is told, and no dialog opens.
  FLog.clear();
  DesignMode();
  Click(InMarker(0), true);
  EXPECT_EQ(FLog, TLog({L"DblClick"}));
}

TEST_P(SkedraInputTest, ADoubleClickOnTheCellsOpensNewTaskThereWithTheMouseFree) {
  TSkedra& grid = MakeInputGrid();
  const int row = grid.DateTimeToCell(At(12, 10, 0)).Row;
  int captureInDialog = 0;
  FEditor.Values = [&](TRxTaskObject&) { captureInDialog = FRecorder.CaptureId; };
  DoubleClick(InCell(2, row));
  EXPECT_EQ(FLog, TLog({L"Click", L"DblClick", L"Create", L"Edit 7", L"Append 7"}));
  EXPECT_EQ(FEditor.ShownStart, At(12, 10, 0));
  EXPECT_EQ(FEditor.ShownFinish, At(12, 10, 0));
  EXPECT_EQ(captureInDialog, -1);
  // The mouse moving after the dialog selects nothing.
  grid.WindowMouseMove({}, InCell(2, row + 3).X, InCell(2, row + 3).Y);
  EXPECT_EQ(grid.Selection(), (TCellRect{2, row, 2, row}));

  FLog.clear();
  DesignMode();
  Click(InCell(2, row), true);
  EXPECT_EQ(FLog, TLog({L"DblClick"}));
  EXPECT_EQ(grid.TaskItems().Count(), 1);
}

TEST_P(SkedraInputTest, AKeyPressHandlerSeesTheCharacterAndMaySwallowIt) {
  TSkedra& grid = MakeInputGrid();
  std::vector<wchar_t> seen;
  grid.OnKeyPress = [&](TComponent* Sender, wchar_t& Key) {
    EXPECT_EQ(Sender, &grid);
    seen.push_back(Key);
    if (Key == L'x') Key = 0;
  };
  wchar_t kept = L'\u00e9';
  wchar_t swallowed = L'x';
  grid.KeyPress(kept);
  grid.KeyPress(swallowed);
  EXPECT_EQ(kept, L'\u00e9');
  EXPECT_EQ(swallowed, 0);
  EXPECT_EQ(seen, (std::vector<wchar_t>{L'\u00e9', L'x'}));
}

TEST_P(SkedraInputTest, EnterOpensNewTaskOverTheSelectedCellsOrUpdateOfTheSelectedTask) {
  TSkedra& grid = MakeInputGrid();
  grid.FocusCell(2, grid.DateTimeToCell(At(12, 14, 0)).Row, true);
  EXPECT_EQ(Key(vkDown, {ssShift}), 0);
  EXPECT_EQ(Key(vkDown, {ssShift}), 0);
  EXPECT_TRUE(grid.WantsKey(vkReturn, {}));
  EXPECT_EQ(Key(vkReturn), 0);
  EXPECT_EQ(FLog, TLog({L"Create", L"Edit 7", L"Append 7"}));
  EXPECT_EQ(FEditor.ShownStart, At(12, 14, 0));
  EXPECT_EQ(FEditor.ShownFinish, At(12, 14, 30));

  FLog.clear();
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_EQ(Key(vkReturn), 0);
  FCancel = true;
  EXPECT_EQ(Key(vkReturn), 0);
  EXPECT_EQ(FLog, TLog({L"Select 7", L"BeforeUpdate 7", L"Edit 7", L"Update 7", L"BeforeUpdate 7"}));
}

TEST_P(SkedraInputTest, DeleteKeyAsksFirstAndDeletesTheSelectedTaskUnlessCancelled) {
  TSkedra& grid = MakeInputGrid();
  AddTask(4, At(12, 9, 0), At(12, 9, 0));
  TWeakRef<TTaskObject> second(&AddTask(4, At(12, 12, 0), At(12, 12, 0)));
  grid.TaskItems().Arrange();
  EXPECT_FALSE(grid.WantsKey(vkDelete, {}));
  EXPECT_EQ(Key(vkDelete), vkDelete);

  // The selected task goes, not the first of its identifier.
  Marker(1).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_TRUE(grid.WantsKey(vkDelete, {}));
  FCancel = true;
  EXPECT_EQ(Key(vkDelete), 0);
  EXPECT_EQ(grid.TaskItems().Count(), 2);
  EXPECT_EQ(grid.SelectedItem(), &Item(1));
  FCancel = false;
  EXPECT_EQ(Key(vkDelete), 0);
  EXPECT_EQ(FLog, TLog({L"Select 4", L"BeforeDelete 4", L"BeforeDelete 4", L"Confirm 4",
                        L"Unselect 4", L"Delete 4"}));
  EXPECT_TRUE(second.Expired());
  ASSERT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(grid.SelectedItem(), nullptr);
}

TEST_P(SkedraInputTest, TheMarkersDeleteAsksFirstAndTheContainersOwnDeleteDoesNot) {
  TSkedra& grid = MakeInputGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  FCancel = true;
  Choose(L"Delete");
  RightClick(Marker(0));
  EXPECT_EQ(FLog, TLog({L"Select 1", L"BeforeDelete 1"}));
  EXPECT_EQ(grid.TaskItems().Count(), 1);

  FLog.clear();
  grid.TaskItems().Delete(1);
  EXPECT_EQ(FLog, TLog({L"Confirm 1", L"Unselect 1", L"Delete 1"}));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
}

TEST_P(SkedraInputTest, TheAccessibleDefaultActionAsksBeforeUpdate) {
  TSkedra& grid = MakeInputGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  auto& model = dynamic_cast<TSkedraAccessible&>(*grid.Accessible());
  FCancel = true;
  model.DefaultAction(model.ChildOf(&Item(0)))();
  FCancel = false;
  model.DefaultAction(model.ChildOf(&Item(0)))();
  EXPECT_EQ(FLog, TLog({L"BeforeUpdate 1", L"BeforeUpdate 1", L"Edit 1", L"Update 1"}));
}

// By start, then finish, then the order of the collection: 8:00, 9:00-9:30 (two, in the order
// added), 9:00-10:00; the task of another day is not shown.
TEST_P(SkedraInputTest, TabAndShiftTabSelectTheShownTasksInTimeOrderAndLeaveAtTheEnds) {
  TSkedra& grid = MakeInputGrid();
  struct TSpan {
    int Id;
    TDateTime Start;
    TDateTime Finish;
  };
  for (const TSpan& span : {TSpan{1, At(12, 9, 0), At(12, 10, 0)}, TSpan{2, At(12, 9, 0), At(12, 9, 30)},
                            TSpan{3, At(12, 8, 0), At(12, 8, 30)}, TSpan{4, At(12, 9, 0), At(12, 9, 30)},
                            TSpan{5, At(13, 7, 0), At(13, 7, 30)}})
    AddTask(span.Id, span.Start, span.Finish);
  grid.TaskItems().Arrange();
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(grid.WantsKey(vkTab, {}));
    EXPECT_EQ(Key(vkTab), 0);
  }
  EXPECT_EQ(FLog, TLog({L"Select 3", L"Select 2", L"Select 4", L"Select 1"}));
  EXPECT_FALSE(grid.WantsKey(vkTab, {}));
  EXPECT_EQ(Key(vkTab), vkTab);
  EXPECT_EQ(SelectedId(), 1);

  FLog.clear();
  EXPECT_EQ(Key(vkTab, {ssShift}), 0);
  EXPECT_EQ(Key(vkTab, {ssShift}), 0);
  EXPECT_EQ(Key(vkTab, {ssShift}), 0);
  EXPECT_FALSE(grid.WantsKey(vkTab, {ssShift}));
  EXPECT_EQ(Key(vkTab, {ssShift}), vkTab);
  EXPECT_EQ(FLog, TLog({L"Select 4", L"Select 2", L"Select 3"}));

  // Without a selection Shift+Tab starts from the last; a task of a day no longer shown counts
  // as none.
  FLog.clear();
  grid.MouseDown(mbLeft, {}, 100, 100);
  EXPECT_EQ(Key(vkTab, {ssShift}), 0);
  grid.NextButtonClick(nullptr);
  Marker(4).MouseDown(mbLeft, {}, 1, 1);
  grid.PrevButtonClick(nullptr);
  EXPECT_EQ(Key(vkTab), 0);
  EXPECT_EQ(FLog, TLog({L"Unselect 3", L"Select 1", L"Select 5", L"Select 3"}));

  grid.TaskItems().Clear();
  EXPECT_FALSE(grid.WantsKey(vkTab, {}));
  EXPECT_EQ(Key(vkTab), vkTab);
}

TEST_P(SkedraInputTest, TabScrollsTheSelectedTasksMarkerIntoView) {
  TSkedra& grid = MakeInputGrid();
  AddTask(1, At(12, 20, 0), At(12, 21, 0));
  AddTask(2, At(11, 22, 0), At(12, 6, 0));  // from the day before: shown from the top
  grid.TaskItems().Arrange();
  const int eight = grid.DateTimeToCell(At(12, 8, 0)).Row;
  EXPECT_EQ(Key(vkTab), 0);
  EXPECT_EQ(SelectedId(), 2);
  EXPECT_EQ(grid.TopVisibleRow(), grid.FixedRows());
  EXPECT_EQ(Key(vkTab), 0);
  EXPECT_EQ(SelectedId(), 1);
  const int start = grid.DateTimeToCell(At(12, 20, 0)).Row;
  EXPECT_GT(grid.TopVisibleRow(), eight);
  EXPECT_LE(grid.TopVisibleRow(), start);
  EXPECT_GE(grid.TopVisibleRow() + grid.VisibleRowCount(), start);
  EXPECT_TRUE(ShownOf(0));
  EXPECT_FALSE(BoundsOf(0).IsEmpty());
}

TEST_P(SkedraInputTest, CtrlLeftAndRightGoADayOrAWeekAndKeepTheCurrentCell) {
  TSkedra& grid = MakeInputGrid();
  const TCellRect cells = grid.Selection();
  EXPECT_EQ(Key(vkRight, {ssCtrl}), 0);
  EXPECT_EQ(grid.ActiveDate(), Day(13));
  EXPECT_EQ(Key(vkLeft, {ssCtrl}), 0);
  EXPECT_EQ(Key(vkLeft, {ssCtrl, ssShift}), 0);
  EXPECT_EQ(grid.ActiveDate(), Day(11));
  EXPECT_EQ(grid.Selection(), cells);

  grid.SetSkedraType(skWeekly);
  const TDateTime monday = grid.ActiveDate();
  EXPECT_EQ(Key(vkRight, {ssCtrl}), 0);
  EXPECT_EQ(grid.ActiveDate(), monday + 7);
  EXPECT_EQ(Key(vkLeft, {ssCtrl}), 0);
  EXPECT_EQ(grid.ActiveDate(), monday);
  EXPECT_EQ(FLog, TLog{});
}

TEST_P(SkedraInputTest, OnlyTheKeysTheGridActsOnAreWanted) {
  TSkedra& grid = MakeInputGrid();
  for (int key : {vkUp, vkDown, vkLeft, vkRight, vkPrior, vkNext, vkHome, vkEnd, vkReturn})
    EXPECT_TRUE(grid.WantsKey(key, {})) << key;
  EXPECT_TRUE(grid.WantsKey(vkLeft, {ssCtrl}));
  for (int key : {int{'A'}, 0x70, 0x79, 0x5D}) {
    EXPECT_FALSE(grid.WantsKey(key, {})) << key;
    EXPECT_EQ(Key(key), key);
  }
}

}  // namespace
}  // namespace skx::test
