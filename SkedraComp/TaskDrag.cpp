// Moving and resizing a task with the mouse: threshold, target, outline, pointer and drop.
#include "SkedraComp/TaskDrag.h"

#include <algorithm>
#include <cstdlib>

#include "SkedraComp/MarkerLayout.h"
#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"

namespace skx {

namespace {

// How far the pointer goes, across or down, before a press becomes a drag, at 96 pixels per inch.
constexpr int DragThreshold = 4;
// How near a marker's top or bottom edge a press resizes rather than moves, at 96 pixels per inch.
constexpr int EdgeZone = 4;
// The outline's dotted frames, one inside the other.
constexpr int OutlineFrames = 2;

TTaskTimes TimesOf(const TTaskObject& task) { return {task.FStartDateTime, task.FFinishDateTime}; }

int KindCursor(TTaskDragKind kind) { return kind == tdMove ? crSizeAll : crSizeNS; }

}  // namespace

bool TTaskDrag::Allowed() const {
  return FGrid.AllowDragTasks() && FGrid.InUserMode() && !FGrid.TaskItems().EditingTask();
}

// Only for a task that can be placed: its times name days of the calendar.
TTaskDragKind TTaskDrag::KindAt(const TPointControl& marker, TPoint at) const {
  const TTaskObject& task = *marker.Item().Task();
  const TRect bounds = marker.BoundsRect();
  if (!bounds.Contains(at)) return tdMove;
  const int edgeZone = FGrid.Scale().Of(EdgeZone);
  const TCellCoord start = FGrid.DateTimeToCell(task.FStartDateTime);
  // A marker cut off by the top of the view does not show the task's start there.
  if (at.Y < bounds.Top + edgeZone && start.Col == marker.Col() &&
      start.Row >= FGrid.TopVisibleRow())
    return tdResizeStart;
  if (at.Y >= bounds.Bottom - edgeZone &&
      FGrid.DateTimeToCell(task.FFinishDateTime).Col == marker.Col())
    return tdResizeFinish;
  return tdMove;
}

void TTaskDrag::Press(TPointControl& marker, TPoint at) {
  Cancel();
  TTaskItem& item = marker.Item();
  if (!Allowed() || !CanPlace(*item.Task())) return;
  const TCellCoord anchor = FGrid.MouseToCell(at.X, at.Y);
  if (anchor.Col < FGrid.FixedCols() || anchor.Row < FGrid.FixedRows()) return;
  FState = TState{&item, KindAt(marker, at), at, anchor, at, false, TimesOf(*item.Task())};
  FGrid.SetMouseCapture(true);
}

void TTaskDrag::Move(TPoint at) {
  if (!FState) return;
  FState->Last = at;
  if (!FState->Active) {
    const int threshold = FGrid.Scale().Of(DragThreshold);
    if (std::abs(at.X - FState->Press.X) < threshold &&
        std::abs(at.Y - FState->Press.Y) < threshold)
      return;
    if (!Activate()) return;
  }
  if (const std::optional<TTaskTimes> target = TargetAt(at))
    ShowTarget(*target);
  else
    Cancel();
}

// The grid takes the focus so that Escape reaches it. The container hears of the focus and may
// end the drag, or free the grid with this object, meanwhile.
bool TTaskDrag::Activate() {
  TWeakRef<TSkedra> alive(&FGrid);
  FGrid.SetFocus();
  if (alive.Expired() || !FState) return false;
  FState->Active = true;
  InvalidateOutline(FState->Target);
  ShowCursor(KindCursor(FState->Kind));
  return true;
}

std::optional<TTaskTimes> TTaskDrag::TargetAt(TPoint at) const {
  const TTaskObject& task = *FState->Item->Task();
  if (!CanPlace(task)) return std::nullopt;
  // A pointer beyond the cells counts as over the nearest cell in view.
  const TRect first = FGrid.CellRect(FGrid.LeftVisibleCol(), FGrid.TopVisibleRow());
  const int x = std::clamp(at.X, first.Left, std::max(first.Left, FGrid.GridWidth() - 1));
  const int y = std::clamp(at.Y, first.Top, std::max(first.Top, FGrid.GridHeight() - 1));
  const TCellCoord cell = FGrid.MouseToCell(x, y);
  if (first.IsEmpty() || cell.Col < FGrid.FixedCols() || cell.Row < FGrid.FixedRows())
    return FState->Target;
  const TTaskTimes times = TimesOf(task);
  const int days = FState->Kind == tdMove ? cell.Col - FState->Anchor.Col : 0;
  return DraggedTimes(times, FState->Kind, days, cell.Row - FState->Anchor.Row, FGrid.DaySlots())
      .value_or(times);
}

void TTaskDrag::ShowTarget(const TTaskTimes& target) {
  if (target == FState->Target) return;
  InvalidateOutline(FState->Target);
  FState->Target = target;
  InvalidateOutline(target);
}

std::vector<TRect> TTaskDrag::Outline(const TTaskTimes& times) const {
  std::vector<TRect> rects;
  const int firstDay = DayOf(times.Start);
  const int lastDay = DayOf(times.Finish);
  for (int col = FGrid.FixedCols(); col < FGrid.ColCount(); ++col) {
    const int day = DayOf(FGrid.ColumnDate(col));
    if (day < firstDay || day > lastDay) continue;
    const TRowSpan rows = RowsOnDay(FGrid, times.Start, times.Finish, day);
    const int firstShown = std::max(rows.First, FGrid.TopVisibleRow());
    const TRect top = FGrid.CellRect(col, firstShown);
    if (top.IsEmpty() || rows.Last < firstShown) continue;
    const TRect bottom = FGrid.CellRect(col, rows.Last);
    rects.push_back(
        TRect{top.Left, top.Top, top.Right, bottom.IsEmpty() ? FGrid.GridHeight() : bottom.Bottom});
  }
  return rects;
}

void TTaskDrag::InvalidateOutline(const TTaskTimes& times) {
  for (const TRect& rect : Outline(times)) FGrid.InvalidateRect(rect);
}

// Dotted frames, one inside the other, show on any colour of cell or marker.
void TTaskDrag::Paint(TCanvas& canvas) const {
  if (!FState || !FState->Active) return;
  const int frames = canvas.Scale().Of(OutlineFrames);
  for (TRect rect : Outline(FState->Target)) {
    canvas.DrawFocusRect(rect);
    for (int frame = 1; frame < frames; ++frame) {
      rect.Inflate(-1, -1);
      if (!rect.IsEmpty()) canvas.DrawFocusRect(rect);
    }
  }
}

bool TTaskDrag::Release(TPoint at) {
  if (!FState) return false;
  const bool active = FState->Active;
  const std::optional<TTaskTimes> target = active ? TargetAt(at) : std::nullopt;
  TTaskItem& item = *FState->Item;
  const bool resized = FState->Kind != tdMove;
  FState->Last = at;
  End();
  if (!target || *target == TimesOf(*item.Task())) return active;
  FGrid.TaskItems().Reschedule(item, *target, resized);
  return true;
}

bool TTaskDrag::Cancel() {
  if (!FState) return false;
  const bool active = FState->Active;
  End();
  return active;
}

void TTaskDrag::ItemReleased(const TTaskItem& item) {
  if (FState && FState->Item == &item) Cancel();
}

// A grid being destroyed is not repainted; its capture still goes.
void TTaskDrag::End() {
  const TState state = *FState;
  FState.reset();
  if (state.Active && !FGrid.IsDestroying()) {
    InvalidateOutline(state.Target);
    ShowCursor(FGrid.WindowCursorAt(state.Last.X, state.Last.Y));
  }
  FGrid.SetMouseCapture(false);
}

void TTaskDrag::ShowCursor(int cursor) {
  if (FGrid.HandleAllocated()) FGrid.Peer()->SetCursorShape(cursor);
}

int TTaskDrag::CursorAt(const TPointControl& marker, TPoint at) const {
  if (FState)
    return FState->Active || FState->Kind != tdMove ? KindCursor(FState->Kind) : crDefault;
  if (!Allowed() || !CanPlace(*marker.Item().Task())) return crDefault;
  return KindAt(marker, at) == tdMove ? crDefault : crSizeNS;
}

}  // namespace skx
