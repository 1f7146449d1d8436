// The task marker and the grid's mouse and menu handling: painting, selection, update, delete.
#include "TaskTestSupport.h"

namespace skx::test {
namespace {

using PointControlTest = TaskTest;
INSTANTIATE_TEST_SUITE_P(Locales, PointControlTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(PointControlTest, PaintDrawsTheTaskThreePixelsInAndTheBarOnlyWhenSelected) {
  TSkedra& grid = MakeDailyGrid();
  TLoggedTask& task = AddTask(1, At(12, 9, 0), At(12, 9, 45));
  grid.TaskItems().Arrange();
  TRecordingCanvas plain;
  Marker(0).Paint(plain);
  EXPECT_TRUE(plain.Calls.empty());
  TRect client = Marker(0).ClientRect();
  EXPECT_EQ(task.DrawnRect, (TRect{3, 0, client.Right, client.Bottom}));
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  TRecordingCanvas selected;
  Marker(0).Paint(selected);
  std::vector<TCanvasCall> calls = selected.Of(coLineTo);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Point, (TPoint{1, client.Bottom}));
  EXPECT_EQ(calls[0].State.Pen.Color, clActiveCaption);
  EXPECT_EQ(calls[0].State.Pen.Width, 3);
  EXPECT_FALSE(calls[0].State.Pen.Geometric);
  EXPECT_EQ(selected.Of(coMoveTo).at(0).Point, (TPoint{1, 0}));
  EXPECT_EQ(task.DrawnRect.Left, 3);
}

TEST_P(PointControlTest, PressingAMarkerMovesTheSelectionWithoutUnselect) {
  TSkedra& grid = MakeLoggedWeeklyGrid();
  AddTask(1, At(11, 9, 0), At(12, 9, 0));
  AddTask(2, At(13, 9, 0), At(13, 9, 0));
  grid.TaskItems().Arrange();
  Marker(0, 1).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_EQ(grid.SelectedItem(), &Item(0));
  FRecorder.ClearInvalidations();
  Marker(1).MouseDown(mbRight, {}, 1, 1);
  Marker(1).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Select 2", L"Select 2"}));
  EXPECT_EQ(grid.SelectedItem(), &Item(1));
  // Both markers of the first task repaint to lose the bar, the new one's to gain it.
  EXPECT_TRUE(Invalidated(Marker(0, 0)));
  EXPECT_TRUE(Invalidated(Marker(0, 1)));
  EXPECT_TRUE(Invalidated(Marker(1)));
}

// Tasks of 9:00 to 9:05 and 9:10 to 9:20 do not overlap, yet both markers cover the 9:15 row: the
// earlier one lies on top there, for the mouse and on the screen alike.
TEST_P(PointControlTest, TheGridFindsTheMarkerOnTopUnderAPressAndKeepsItsCellAndFocus) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 5));
  AddTask(2, At(12, 9, 10), At(12, 9, 20));
  grid.TaskItems().Arrange();
  ASSERT_TRUE(BoundsOf(0).Intersects(BoundsOf(1)));
  const TCellCoord current{grid.CurrentCol(), grid.CurrentRow()};
  const int focus = FRecorder.FocusId;
  TPoint overlap{BoundsOf(1).Left + 20, BoundsOf(1).Top + 3};
  grid.WindowMouseDown(mbLeft, {}, overlap.X, overlap.Y);
  grid.WindowMouseUp(mbLeft, {}, overlap.X, overlap.Y);
  grid.WindowMouseDown(mbLeft, {}, overlap.X, BoundsOf(1).Bottom - 2);
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Select 2"}));
  EXPECT_EQ(grid.CurrentCol(), current.Col);
  EXPECT_EQ(grid.CurrentRow(), current.Row);
  EXPECT_EQ(FRecorder.FocusId, focus);

  TRecordingCanvas canvas;
  grid.PaintWindow(canvas, grid.ClientRect());
  std::vector<TCanvasCall> areas = canvas.Of(coBeginArea);
  ASSERT_EQ(areas.size(), 2u);
  TRect inside0 = BoundsOf(0);
  inside0.Inflate(-1, -1);
  EXPECT_EQ(areas[1].Rect, inside0);
  // A press beside the markers goes to the grid, which takes the selection away.
  grid.WindowMouseDown(mbLeft, {}, 5, overlap.Y);
  EXPECT_EQ(FLog.back(), L"Unselect 2");
}

TEST_P(PointControlTest, RightPressOnTheGridUnselectsOnceAndOffersOnlyNewTask) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  grid.ContextPopup(5, 5);
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  FLog.clear();
  grid.MouseDown(mbRight, {}, 100, 100);
  grid.ContextPopup(100, 100);
  grid.MouseDown(mbRight, {}, 100, 100);
  EXPECT_EQ(FLog, TLog({L"Unselect 1"}));
  EXPECT_EQ(grid.SelectedItem(), nullptr);
  ASSERT_EQ(FRecorder.Popups.size(), 2u);
  EXPECT_EQ(FRecorder.Popups.back().Captions, std::vector<String>{L"New task..."});
}

TEST_P(PointControlTest, MarkerMenuIsRebuiltWithUpdateSeparatorDelete) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  RightClick(Marker(0));
  RightClick(Marker(0));
  ASSERT_EQ(FRecorder.Popups.size(), 2u);
  EXPECT_EQ(FRecorder.Popups[1].Captions, std::vector<String>({L"Update...", L"-", L"Delete"}));
  TPopupMenu& menu = *Marker(0).PopupMenu();
  EXPECT_EQ(menu.Owner(), &Marker(0));
  EXPECT_EQ(menu.Items(0)->Tag(), 2);
  EXPECT_EQ(menu.Items(1)->Tag(), 0);
  EXPECT_EQ(menu.Items(2)->Tag(), 3);
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Select 1"}));
}

TEST_P(PointControlTest, ConfirmedUpdateReplacesTheMarkersBeforeTheEventAndKeepsTheSelection) {
  TSkedra& grid = MakeLoggedWeeklyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  TWeakRef<TPointControl> old(&Marker(0));
  FEditor.Values = [](TRxTaskObject& Task) {
    Task.FStartDateTime = At(13, 10, 0);
    Task.FFinishDateTime = At(13, 10, 0);
  };
  int columnAtUpdate = -1;
  bool oldGoneAtUpdate = false;
  grid.OnUpdateTask = [&](TComponent*, TTaskObject* Task) {
    FLog.push_back(Entry(L"Update", Task));
    columnAtUpdate = Marker(0).Col();
    oldGoneAtUpdate = old.Expired();
  };
  Choose(L"Update...");
  RightClick(Marker(0));
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Edit 1", L"Update 1"}));
  EXPECT_EQ(columnAtUpdate, 6);
  EXPECT_TRUE(oldGoneAtUpdate);
  ASSERT_EQ(Item(0).Points().size(), 1u);
  EXPECT_TRUE(ShownOf(0));
  EXPECT_EQ(grid.SelectedItem(), &Item(0));
}

TEST_P(PointControlTest, CancelledOrFailedUpdateKeepsTheMarkers) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  TPointControl* marker = &Marker(0);
  Choose(L"Update...");
  FEditor.Answer = TScriptedEditor::eaCancel;
  RightClick(*marker);
  FEditor.Answer = TScriptedEditor::eaFail;
  EXPECT_THROW(RightClick(*marker), EConvertError);
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Edit 1", L"Select 1", L"Edit 1"}));
  ASSERT_EQ(Item(0).Points().size(), 1u);
  EXPECT_EQ(&Marker(0), marker);
  EXPECT_TRUE(ShownOf(0));
}

TEST_P(PointControlTest, UpdateOfATaskDeletedWhileItsDialogWasOpenStopsThere) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  FEditor.Values = [&](TRxTaskObject& Task) { grid.TaskItems().Delete(Task.FID); };
  Choose(L"Update...");
  RightClick(Marker(0));
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Edit 1", L"Confirm 1", L"Unselect 1", L"Delete 1"}));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_EQ(grid.ControlCount(), 2);
}

TEST_P(PointControlTest, DeleteFromTheMarkersOwnMenuFreesItSafely) {
  TSkedra& grid = MakeDailyGrid();
  TWeakRef<TTaskObject> task(&AddTask(1, At(12, 9, 0), At(12, 9, 0)));
  grid.TaskItems().Arrange();
  TWeakRef<TPointControl> marker(&Marker(0));
  Choose(L"Delete");
  RightClick(Marker(0));
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Confirm 1", L"Unselect 1", L"Delete 1"}));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_TRUE(task.Expired());
  EXPECT_TRUE(marker.Expired());
  EXPECT_EQ(grid.ControlCount(), 2);
}

TEST_P(PointControlTest, DeleteFromAMarkerRemovesTheFirstTaskWithItsIdentifier) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(4, At(12, 9, 0), At(12, 9, 0));
  TLoggedTask& clicked = AddTask(4, At(12, 12, 0), At(12, 12, 0));
  grid.TaskItems().Arrange();
  Choose(L"Delete");
  RightClick(Marker(1));
  ASSERT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(Item(0).Task(), &clicked);
  EXPECT_EQ(BoundsOf(0).Width(), 290);
}

TEST_P(PointControlTest, NewTaskFromTheGridMenuConfirmedAndCancelled) {
  TSkedra& grid = MakeDailyGrid();
  grid.SetSelection(TCellRect{2, 37, 2, 40});
  Choose(L"New task...");
  FEditor.Answer = TScriptedEditor::eaCancel;
  grid.ContextPopup(100, 100);
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  FEditor.Answer = TScriptedEditor::eaOK;
  grid.ContextPopup(100, 100);
  EXPECT_EQ(FLog, TLog({L"Create", L"Edit 7", L"Create", L"Edit 7", L"Append 7"}));
  ASSERT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_TRUE(ShownOf(0));
}

}  // namespace
}  // namespace skx::test
