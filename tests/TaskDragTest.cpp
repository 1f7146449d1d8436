// Dragging a task's marker over the grid: threshold, snapping, moves, resizes, the outline, the
// pointer, cancelling and the events of the drop.
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>

#include "TaskTestSupport.h"

namespace skx::test {
namespace {

constexpr int Pitch = 17;

String When(TDateTime value) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  wchar_t text[16];
  std::swprintf(text, 16, L"%d %d:%02d", day, hour, minute);
  return text;
}

TPoint Offset(TPoint at, int dx, int dy) { return TPoint{at.X + dx, at.Y + dy}; }

class TaskDragTest : public TaskTest {
 protected:
  // The daily view from 8:00 on, with the drag events logged along with the others.
  TSkedra& MakeMorningGrid() {
    TSkedra& grid = MakeDailyGrid();
    ShowFrom(8, 0);
    LogDragEvents(grid);
    return grid;
  }

  TSkedra& MakeMorningWeek() {
    TSkedra& grid = MakeLoggedWeeklyGrid();
    ShowFrom(8, 0);
    LogDragEvents(grid);
    return grid;
  }

  // The morning grid with one task from 9:00 to 9:45, its marker placed.
  TLoggedTask& MakeMorningTask() {
    MakeMorningGrid();
    TLoggedTask& task = AddTask(1, At(12, 9, 0), At(12, 9, 45));
    FGrid->TaskItems().Arrange();
    return task;
  }

  void ShowFrom(int hour, int minute) {
    FGrid->SetTopLeft(2, FGrid->DateTimeToCell(At(12, hour, minute)).Row);
  }

  void LogDragEvents(TSkedra& grid) {
    auto before = [this](const wchar_t* what) {
      return [this, what](TComponent*, TTaskObject* Task, TDateTime NewStart, TDateTime NewFinish,
                          bool& Cancel) {
        FLog.push_back(Entry(what, Task) + L" " + When(NewStart) + L"-" + When(NewFinish));
        Cancel = FCancel;
      };
    };
    grid.OnBeforeMoveTask = before(L"BeforeMove");
    grid.OnBeforeResizeTask = before(L"BeforeResize");
    grid.OnTaskMoved = [this](TComponent*, TTaskObject* Task) {
      FLog.push_back(Entry(L"Moved", Task));
    };
    grid.OnTaskResized = [this](TComponent*, TTaskObject* Task) {
      FLog.push_back(Entry(L"Resized", Task));
    };
  }

  static TPoint MiddleOf(const TPointControl& marker) {
    TRect bounds = marker.BoundsRect();
    return TPoint{bounds.Left + 20, (bounds.Top + bounds.Bottom) / 2};
  }
  static TPoint TopEdgeOf(const TPointControl& marker) {
    return TPoint{marker.Left() + 20, marker.Top() + 1};
  }
  static TPoint BottomEdgeOf(const TPointControl& marker) {
    return TPoint{marker.Left() + 20, marker.BoundsRect().Bottom - 2};
  }

  // A left press, then moves by each offset in turn, as the grid's window routes them.
  void PressAndMove(TPoint from, std::initializer_list<TPoint> offsets) {
    TSkedra& grid = *FGrid;
    grid.WindowMouseDown(mbLeft, {ssLeft}, from.X, from.Y);
    for (TPoint by : offsets) grid.WindowMouseMove({ssLeft}, from.X + by.X, from.Y + by.Y);
  }
  // The release may free the grid.
  void ReleaseAt(TPoint at) { FGrid->WindowMouseUp(mbLeft, {}, at.X, at.Y); }
  void Drag(TPoint from, int dx, int dy) {
    PressAndMove(from, {TPoint{dx, dy}});
    ReleaseAt(Offset(from, dx, dy));
  }

  // The log without the tasks' painting.
  TLog Events() const {
    TLog events;
    for (const String& entry : FLog)
      if (entry.rfind(L"Draw", 0) != 0) events.push_back(entry);
    return events;
  }

  // The rectangles painted after the markers: the outline of a drag.
  std::vector<TRect> PaintedOutline() {
    TRecordingCanvas canvas;
    FGrid->PaintWindow(canvas, FGrid->ClientRect());
    std::vector<TRect> rects;
    for (const TCanvasCall& call : canvas.Calls) {
      if (call.Op == coEndArea) rects.clear();
      if (call.Op == coDrawFocusRect) rects.push_back(call.Rect);
    }
    return rects;
  }

  // The outline over the cells from row to row of the column: a frame and one inside it.
  std::vector<TRect> Frames(int col, int firstRow, int lastRow) {
    TRect outer{FGrid->CellRect(col, firstRow).Left, FGrid->CellRect(col, firstRow).Top,
                FGrid->CellRect(col, firstRow).Right, FGrid->CellRect(col, lastRow).Bottom};
    TRect inner = outer;
    inner.Inflate(-1, -1);
    return {outer, inner};
  }

  int RowOf(int hour, int minute) { return FGrid->DateTimeToCell(At(12, hour, minute)).Row; }

  bool FCancel = false;
};

INSTANTIATE_TEST_SUITE_P(Locales, TaskDragTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(TaskDragTest, AMoveFollowsTheRowUnderThePointerAndRaisesItsEventsAfterTheSelect) {
  TLoggedTask& task = MakeMorningTask();
  TSkedra& grid = *FGrid;
  const TRect before = BoundsOf(0);
  TWeakRef<TPointControl> old(&Marker(0));
  // Two rows and a few pixels down, with a stop on the way.
  PressAndMove(MiddleOf(Marker(0)), {TPoint{0, 10}, TPoint{3, 2 * Pitch + 5}});
  EXPECT_EQ(Events(), TLog({L"Select 1"}));
  EXPECT_EQ(BoundsOf(0), before);
  ReleaseAt(Offset(MiddleOf(Marker(0)), 3, 2 * Pitch + 5));
  EXPECT_EQ(Events(),
            TLog({L"Select 1", L"BeforeMove 1 12 9:30-12 10:15", L"Moved 1", L"Update 1"}));
  EXPECT_EQ(task.FStartDateTime, At(12, 9, 30));
  EXPECT_EQ(task.FFinishDateTime, At(12, 10, 15));
  EXPECT_TRUE(old.Expired());
  EXPECT_EQ(BoundsOf(0),
            (TRect{before.Left, before.Top + 2 * Pitch, before.Right, before.Bottom + 2 * Pitch}));
  EXPECT_EQ(grid.SelectedItem(), &Item(0));
  EXPECT_EQ(FRecorder.CaptureId, -1);
}

TEST_P(TaskDragTest, APressBecomesADragOnlyOnceThePointerHasGoneFourPixels) {
  TLoggedTask& task = MakeMorningTask();
  TSkedra& grid = *FGrid;
  const TPoint middle = MiddleOf(Marker(0));
  const int focus = FRecorder.FocusId;
  PressAndMove(middle, {TPoint{3, -3}, TPoint{-3, 3}});
  EXPECT_EQ(FRecorder.CaptureId, FRecorder.WindowOf(grid)->Id);
  EXPECT_TRUE(PaintedOutline().empty());
  ReleaseAt(Offset(middle, 0, Pitch));
  EXPECT_EQ(FRecorder.CaptureId, -1);
  EXPECT_EQ(FRecorder.FocusId, focus);
  // Four pixels down is a drag, though still over the same row: it changes nothing.
  PressAndMove(middle, {TPoint{0, 4}});
  EXPECT_EQ(PaintedOutline(), Frames(2, RowOf(9, 0), RowOf(9, 45)));
  EXPECT_EQ(FRecorder.FocusId, FRecorder.WindowOf(grid)->Id);
  ReleaseAt(Offset(middle, 0, 4));
  EXPECT_EQ(Events(), TLog({L"Select 1", L"Select 1"}));
  EXPECT_EQ(task.FStartDateTime, At(12, 9, 0));
  EXPECT_TRUE(PaintedOutline().empty());
}

TEST_P(TaskDragTest, ThePointerBeyondTheCellsCountsAsOverTheNearestAndTheTaskStopsAtTheDaysEnds) {
  TSkedra& grid = MakeMorningGrid();
  ShowFrom(0, 0);
  TLoggedTask& night = AddTask(1, At(12, 1, 0), At(12, 2, 0));
  grid.TaskItems().Arrange();
  Drag(MiddleOf(Marker(0)), 5000, -500);
  EXPECT_EQ(Events(),
            TLog({L"Select 1", L"BeforeMove 1 12 0:00-12 1:00", L"Moved 1", L"Update 1"}));
  EXPECT_EQ(night.FStartDateTime, At(12, 0, 0));

  ShowFrom(20, 0);
  TLoggedTask& evening = AddTask(2, At(12, 22, 0), At(12, 23, 0));
  grid.TaskItems().Arrange();
  FLog.clear();
  Drag(MiddleOf(Marker(1)), 0, 5000);
  EXPECT_EQ(Events(),
            TLog({L"Select 2", L"BeforeMove 2 12 22:45-12 23:45", L"Moved 2", L"Update 2"}));
  EXPECT_EQ(evening.FFinishDateTime, At(12, 23, 45));
}

TEST_P(TaskDragTest, WeeklyMovesCrossDayColumnsAndATaskOverTwoDaysMovesAsAWhole) {
  TSkedra& grid = MakeMorningWeek();
  AddTask(1, At(12, 9, 0), At(12, 9, 45));
  TLoggedTask& twoDays = AddTask(2, At(11, 14, 0), At(12, 10, 0));
  grid.TaskItems().Arrange();
  const int column = grid.ColWidths(2) + grid.GridLineWidth();
  // Thursday to Monday, a row up.
  Drag(MiddleOf(Marker(0)), -3 * column, -Pitch);
  // From the marker of its second day, one day on and a row down.
  ASSERT_EQ(Item(1).Points().size(), 2u);
  ASSERT_EQ(Marker(1, 1).Col(), 5);
  Drag(MiddleOf(Marker(1, 1)), column, Pitch);
  EXPECT_EQ(Events(),
            TLog({L"Select 1", L"BeforeMove 1 9 8:45-9 9:30", L"Moved 1", L"Update 1", L"Select 2",
                  L"BeforeMove 2 12 14:15-13 10:15", L"Moved 2", L"Update 2"}));
  EXPECT_EQ(twoDays.FStartDateTime, At(12, 14, 15));
  ASSERT_EQ(Item(1).Points().size(), 2u);
  EXPECT_EQ(Marker(1, 0).Col(), 5);
  EXPECT_EQ(Marker(1, 1).Col(), 6);
}

TEST_P(TaskDragTest, TheOutlineCoversTheTargetsCellsInEachShownDayWhileTheMarkersStay) {
  TSkedra& grid = MakeMorningWeek();
  AddTask(1, At(11, 10, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  const TRect first = BoundsOf(0, 0);
  const TRect second = BoundsOf(0, 1);
  const int column = grid.ColWidths(2) + grid.GridLineWidth();
  const TPoint from = MiddleOf(Marker(0, 1));
  // On Thursday from 10:00 down to the end of the view, on Friday from the top of the view.
  auto overTwoDays = [&](int firstCol) {
    const TRect top = grid.CellRect(firstCol, RowOf(10, 0));
    TRect frame{top.Left, top.Top, top.Right, grid.GridHeight()};
    TRect inside = frame;
    inside.Inflate(-1, -1);
    std::vector<TRect> frames{frame, inside};
    for (const TRect& next : Frames(firstCol + 1, grid.TopVisibleRow(), RowOf(9, 0)))
      frames.push_back(next);
    return frames;
  };
  PressAndMove(from, {TPoint{column, 0}});
  EXPECT_EQ(PaintedOutline(), overTwoDays(5));
  EXPECT_EQ(BoundsOf(0, 0), first);
  EXPECT_EQ(BoundsOf(0, 1), second);
  EXPECT_EQ(FRecorder.CursorShape, crSizeAll);
  // The way back repaints where the outline was and where it goes.
  FRecorder.ClearInvalidations();
  grid.WindowMouseMove({ssLeft}, from.X, from.Y + 4);
  const std::vector<TRect>& invalid = FRecorder.WindowOf(grid)->InvalidRects;
  const std::vector<TRect> there = overTwoDays(5);
  const std::vector<TRect> back = overTwoDays(4);
  for (const TRect& frame : {there[0], there[2], back[0], back[2]})
    EXPECT_NE(std::find(invalid.begin(), invalid.end(), frame), invalid.end());
  ReleaseAt(Offset(from, 0, 4));
  EXPECT_TRUE(PaintedOutline().empty());
  EXPECT_EQ(FRecorder.CursorShape, crDefault);
  EXPECT_EQ(Events(), TLog({L"Select 1"}));
}

TEST_P(TaskDragTest, TheEdgesResizeTheStartAndTheFinishByWholeSlots) {
  TLoggedTask& task = MakeMorningTask();
  PressAndMove(TopEdgeOf(Marker(0)), {TPoint{0, -2 * Pitch}});
  EXPECT_EQ(FRecorder.CursorShape, crSizeNS);
  EXPECT_EQ(PaintedOutline(), Frames(2, RowOf(8, 30), RowOf(9, 45)));
  ReleaseAt(Offset(TopEdgeOf(Marker(0)), 0, -2 * Pitch));
  Drag(BottomEdgeOf(Marker(0)), 0, Pitch);
  EXPECT_EQ(Events(),
            TLog({L"Select 1", L"BeforeResize 1 12 8:30-12 9:45", L"Resized 1", L"Update 1",
                  L"Select 1", L"BeforeResize 1 12 8:30-12 10:00", L"Resized 1", L"Update 1"}));
  EXPECT_EQ(task.FStartDateTime, At(12, 8, 30));
  EXPECT_EQ(task.FFinishDateTime, At(12, 10, 0));
  EXPECT_EQ(BoundsOf(0).Height(), 7 * Pitch);
  // However far down the start goes, the task keeps its last slot.
  FLog.clear();
  Drag(TopEdgeOf(Marker(0)), 0, 20 * Pitch);
  EXPECT_EQ(Events(),
            TLog({L"Select 1", L"BeforeResize 1 12 10:00-12 10:00", L"Resized 1", L"Update 1"}));
  EXPECT_EQ(BoundsOf(0).Height(), Pitch);
}

TEST_P(TaskDragTest, OnlyTheEdgesThatShowTheTasksStartAndFinishResizeAndThePointerSaysSo) {
  TSkedra& grid = MakeMorningWeek();
  AddTask(1, At(10, 10, 0), At(11, 11, 0));
  grid.TaskItems().Arrange();
  const TPointControl& wednesday = Marker(0, 0);
  const TPointControl& thursday = Marker(0, 1);
  auto cursorAt = [&grid](TPoint at) { return grid.WindowCursorAt(at.X, at.Y); };
  EXPECT_EQ(cursorAt(TopEdgeOf(wednesday)), crSizeNS);
  EXPECT_EQ(cursorAt(Offset(TopEdgeOf(wednesday), 0, 2)), crSizeNS);
  EXPECT_EQ(cursorAt(Offset(TopEdgeOf(wednesday), 0, 3)), crDefault);
  EXPECT_EQ(cursorAt(MiddleOf(wednesday)), crDefault);
  EXPECT_EQ(cursorAt(TopEdgeOf(thursday)), crDefault);
  EXPECT_EQ(cursorAt(BottomEdgeOf(thursday)), crSizeNS);
  EXPECT_EQ(cursorAt(Offset(BottomEdgeOf(thursday), 0, -2)), crSizeNS);
  EXPECT_EQ(cursorAt(Offset(BottomEdgeOf(thursday), 0, -3)), crDefault);
  // Elsewhere the grid's own pointer shows, over markers and cells alike.
  grid.SetCursor(crHandPoint);
  EXPECT_EQ(cursorAt(MiddleOf(wednesday)), crHandPoint);
  EXPECT_EQ(cursorAt(TPoint{5, 5}), crHandPoint);
  EXPECT_EQ(cursorAt(TopEdgeOf(wednesday)), crSizeNS);
  // The top of a marker cut off by the view is not the task's start.
  ShowFrom(10, 15);
  EXPECT_EQ(cursorAt(TopEdgeOf(Marker(0, 0))), crHandPoint);
  // A drag from the top of Thursday's marker moves the task.
  ShowFrom(8, 0);
  Drag(TopEdgeOf(Marker(0, 1)), 0, Pitch);
  EXPECT_EQ(Events(),
            TLog({L"Select 1", L"BeforeMove 1 10 10:15-11 11:15", L"Moved 1", L"Update 1"}));
  grid.SetAllowDragTasks(false);
  EXPECT_EQ(cursorAt(BottomEdgeOf(Marker(0, 1))), crHandPoint);
}

TEST_P(TaskDragTest, ABeforeHandlerThatCancelsLeavesTheTaskAndItsMarkers) {
  TLoggedTask& task = MakeMorningTask();
  TSkedra& grid = *FGrid;
  TWeakRef<TPointControl> marker(&Marker(0));
  FCancel = true;
  Drag(MiddleOf(Marker(0)), 0, Pitch);
  Drag(BottomEdgeOf(Marker(0)), 0, Pitch);
  EXPECT_EQ(Events(), TLog({L"Select 1", L"BeforeMove 1 12 9:15-12 10:00", L"Select 1",
                            L"BeforeResize 1 12 9:00-12 10:00"}));
  EXPECT_EQ(task.FStartDateTime, At(12, 9, 0));
  EXPECT_EQ(task.FFinishDateTime, At(12, 9, 45));
  EXPECT_FALSE(marker.Expired());
  EXPECT_TRUE(PaintedOutline().empty());
  EXPECT_EQ(grid.SelectedItem(), &Item(0));
}

TEST_P(TaskDragTest, EscapeLostCaptureAndAnotherPressEndTheDragWithNothingChanged) {
  TLoggedTask& task = MakeMorningTask();
  TSkedra& grid = *FGrid;
  const TPoint from = MiddleOf(Marker(0));
  const std::vector<std::function<void()>> endings = {
      [&grid] {
        int key = vkEscape;
        grid.KeyDown(key, {});
        EXPECT_EQ(key, 0);
      },
      [&grid] { grid.MouseCaptureLost(); },
      [&grid, from] {
        grid.WindowMouseDown(mbRight, {ssLeft, ssRight}, from.X, from.Y);
      },
  };
  for (const std::function<void()>& end : endings) {
    PressAndMove(from, {TPoint{0, 2 * Pitch}});
    ASSERT_FALSE(PaintedOutline().empty());
    end();
    EXPECT_TRUE(PaintedOutline().empty());
    EXPECT_EQ(FRecorder.CaptureId, -1);
    EXPECT_EQ(FRecorder.CursorShape, crDefault);
    grid.WindowMouseMove({ssLeft}, from.X, from.Y + 3 * Pitch);
    ReleaseAt(Offset(from, 0, 3 * Pitch));
    EXPECT_TRUE(PaintedOutline().empty());
  }
  EXPECT_EQ(Events(), TLog({L"Select 1", L"Select 1", L"Select 1", L"Select 1"}));
  EXPECT_EQ(task.FStartDateTime, At(12, 9, 0));
  // Without a drag, Escape goes on to the grid.
  int key = vkEscape;
  grid.KeyDown(key, {});
  EXPECT_EQ(key, vkEscape);
}

TEST_P(TaskDragTest, NoDragWhenNotAllowedOutsideUserModeOrWhileATaskDialogIsUp) {
  TLoggedTask& task = MakeMorningTask();
  TSkedra& grid = *FGrid;
  EXPECT_TRUE(grid.AllowDragTasks());
  auto dragOnce = [this] {
    PressAndMove(MiddleOf(Marker(0)), {TPoint{0, Pitch}});
    const bool captured = FRecorder.CaptureId != -1;
    const bool outlined = !PaintedOutline().empty();
    ReleaseAt(Offset(MiddleOf(Marker(0)), 0, Pitch));
    return captured || outlined;
  };
  grid.SetAllowDragTasks(false);
  EXPECT_FALSE(dragOnce());
  grid.SetAllowDragTasks(true);
  TAmbientProperties designing;
  designing.UserMode = false;
  grid.TakeAmbient(designing);
  EXPECT_FALSE(dragOnce());
  grid.TakeAmbient(TAmbientProperties{});
  bool draggedInDialog = true;
  FEditor.Values = [&](TRxTaskObject&) { draggedInDialog = dragOnce(); };
  grid.TaskItems().Update(Item(0));
  EXPECT_FALSE(draggedInDialog);
  EXPECT_EQ(task.FStartDateTime, At(12, 9, 0));
  EXPECT_EQ(Events(), TLog({L"Select 1", L"Select 1", L"Edit 1", L"Select 1", L"Update 1"}));

  // Turning it off, or a dialog opening, ends a drag under way.
  PressAndMove(MiddleOf(Marker(0)), {TPoint{0, Pitch}});
  grid.SetAllowDragTasks(false);
  EXPECT_TRUE(PaintedOutline().empty());
  ReleaseAt(Offset(MiddleOf(Marker(0)), 0, Pitch));
  grid.SetAllowDragTasks(true);
  FEditor.Values = nullptr;
  PressAndMove(MiddleOf(Marker(0)), {TPoint{0, Pitch}});
  grid.TaskItems().Update(Item(0));
  EXPECT_EQ(FRecorder.CaptureId, -1);
  ReleaseAt(Offset(MiddleOf(Marker(0)), 0, Pitch));
  EXPECT_EQ(task.FStartDateTime, At(12, 9, 0));
}

TEST_P(TaskDragTest, MarkersReleasedOrATaskDeletedDuringADragEndIt) {
  TSkedra& grid = MakeMorningGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 45));
  AddTask(2, At(12, 11, 0), At(12, 11, 0));
  grid.TaskItems().Arrange();
  const TPoint first = MiddleOf(Marker(0));
  PressAndMove(first, {TPoint{0, Pitch}});
  grid.NextButtonClick(nullptr);
  grid.PrevButtonClick(nullptr);
  EXPECT_EQ(FRecorder.CaptureId, -1);
  ReleaseAt(Offset(first, 0, Pitch));
  // A drag of the other task goes on while the first is deleted, and ends with its own deletion.
  const TPoint second = MiddleOf(Marker(1));
  PressAndMove(second, {TPoint{0, Pitch}});
  grid.TaskItems().Delete(1);
  ASSERT_FALSE(PaintedOutline().empty());
  ReleaseAt(Offset(second, 0, Pitch));
  PressAndMove(MiddleOf(Marker(0)), {TPoint{0, Pitch}});
  grid.TaskItems().Delete(2);
  EXPECT_TRUE(PaintedOutline().empty());
  EXPECT_EQ(FRecorder.CaptureId, -1);
  ReleaseAt(second);
  EXPECT_EQ(Events(), TLog({L"Select 1", L"Select 2", L"Confirm 1", L"Unselect 1", L"Delete 1",
                            L"BeforeMove 2 12 11:15-12 11:15", L"Moved 2", L"Update 2", L"Select 2",
                            L"Confirm 2", L"Unselect 2", L"Delete 2"}));
}

TEST_P(TaskDragTest, ATaskWhoseTimesCannotBeShownIsNotDragged) {
  TLoggedTask& task = MakeMorningTask();
  TSkedra& grid = *FGrid;
  const TPoint from = MiddleOf(Marker(0));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  task.FStartDateTime = nan;
  EXPECT_EQ(grid.WindowCursorAt(TopEdgeOf(Marker(0)).X, TopEdgeOf(Marker(0)).Y), crDefault);
  PressAndMove(from, {TPoint{0, Pitch}});
  EXPECT_EQ(FRecorder.CaptureId, -1);
  ReleaseAt(Offset(from, 0, Pitch));
  // Times that go bad during a drag end it at the next move, or come to nothing at the drop.
  task.FStartDateTime = At(12, 9, 0);
  PressAndMove(from, {TPoint{0, Pitch}});
  task.FFinishDateTime = std::numeric_limits<double>::infinity();
  grid.WindowMouseMove({ssLeft}, from.X, from.Y + 2 * Pitch);
  EXPECT_TRUE(PaintedOutline().empty());
  ReleaseAt(Offset(from, 0, 2 * Pitch));
  task.FFinishDateTime = At(12, 9, 45);
  PressAndMove(from, {TPoint{0, Pitch}});
  task.FStartDateTime = nan;
  ReleaseAt(Offset(from, 0, 2 * Pitch));
  EXPECT_TRUE(std::isnan(task.FStartDateTime));
  EXPECT_EQ(task.FFinishDateTime, At(12, 9, 45));
  EXPECT_EQ(Events(), TLog({L"Select 1", L"Select 1", L"Select 1"}));
}

// The press is held on to as a cell, so that a view scrolled meanwhile moves the target with it.
TEST_P(TaskDragTest, TheTargetIsTheCellUnderThePointerAfterTheViewScrolls) {
  MakeMorningTask();
  TSkedra& grid = *FGrid;
  const TPoint from = MiddleOf(Marker(0));
  PressAndMove(from, {TPoint{0, Pitch}});
  grid.SetTopLeft(2, grid.TopVisibleRow() + 2);
  grid.WindowMouseMove({ssLeft}, from.X, from.Y + Pitch);
  EXPECT_EQ(PaintedOutline(), Frames(2, RowOf(9, 45), RowOf(10, 30)));
  ReleaseAt(Offset(from, 0, Pitch));
  EXPECT_EQ(Events(),
            TLog({L"Select 1", L"BeforeMove 1 12 9:45-12 10:30", L"Moved 1", L"Update 1"}));
}

// A handler may run a message loop of its own, in which the user presses again: the drop goes on,
// and the drag begun meanwhile is the user's next.
TEST_P(TaskDragTest, ADragBegunInsideABeforeHandlerCarriesOnAfterTheDrop) {
  TSkedra& grid = MakeMorningGrid();
  TLoggedTask& first = AddTask(1, At(12, 9, 0), At(12, 9, 0));
  TLoggedTask& second = AddTask(2, At(12, 11, 0), At(12, 11, 0));
  grid.TaskItems().Arrange();
  const TPoint other = MiddleOf(Marker(1));
  auto logged = grid.OnBeforeMoveTask;
  grid.OnBeforeMoveTask = [&, logged](TComponent* Sender, TTaskObject* Task, TDateTime NewStart,
                                      TDateTime NewFinish, bool& Cancel) {
    logged(Sender, Task, NewStart, NewFinish, Cancel);
    if (Task == &first) PressAndMove(other, {TPoint{0, -Pitch}});
  };
  Drag(MiddleOf(Marker(0)), 0, Pitch);
  EXPECT_EQ(first.FStartDateTime, At(12, 9, 15));
  EXPECT_FALSE(PaintedOutline().empty());
  EXPECT_EQ(FRecorder.CaptureId, FRecorder.WindowOf(grid)->Id);
  ReleaseAt(Offset(other, 0, -Pitch));
  EXPECT_EQ(second.FStartDateTime, At(12, 10, 45));
  EXPECT_EQ(Events(),
            TLog({L"Select 1", L"BeforeMove 1 12 9:15-12 9:15", L"Select 2", L"Moved 1",
                  L"Update 1", L"BeforeMove 2 12 10:45-12 10:45", L"Moved 2", L"Update 2"}));
}

TEST_P(TaskDragTest, ASelectHandlerThatDeletesTheTaskLeavesNothingToDrag) {
  MakeMorningTask();
  TSkedra& grid = *FGrid;
  grid.OnSelectTask = [&grid](TComponent*, TTaskObject* Task) {
    grid.TaskItems().Delete(Task->FID);
  };
  const TPoint from = MiddleOf(Marker(0));
  PressAndMove(from, {TPoint{0, Pitch}});
  EXPECT_EQ(FRecorder.CaptureId, -1);
  EXPECT_TRUE(PaintedOutline().empty());
  ReleaseAt(Offset(from, 0, Pitch));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
}

}  // namespace
}  // namespace skx::test
