// The task marker: paints its task, selects it on a press, and offers update and delete.
#include "SkedraComp/PointControl.h"

#include "SkedraComp/Skedra.h"
#include "SkedraComp/TaskDrag.h"

namespace skx {

namespace {

constexpr int UpdateTag = 2;
constexpr int DeleteTag = 3;
constexpr int SelectionBarWidth = 3;

}  // namespace

TPointControl::TPointControl(TSkedra& AOwner, TTaskItem& item, int ACol)
    : TControl(&AOwner), FGrid(AOwner), FItem(item), FCol(ACol) {
  SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque, csFramed});
}

void TPointControl::Paint(TCanvas& canvas) {
  const TScale scale = canvas.Scale();
  TRect rect = ClientRect();
  rect.Left += scale.Of(1);
  if (FGrid.SelectedItem() == &FItem) {
    canvas.SetPenColor(clActiveCaption);
    canvas.SetPenWidth(scale.Of(SelectionBarWidth));
    canvas.MoveTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Left, rect.Bottom);
  }
  rect.Left += scale.Of(2);
  FItem.Task()->Draw(canvas, rect);
}

// Only locals are used once the handlers run, since they may free this marker and the grid.
// The first press of a double click selected the task; the second selects it only if something
// else took the selection in between, and begins no drag.
void TPointControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TWeakRef<TPointControl> self(this);
  FGrid.TaskDrag().Cancel();
  TControl::MouseDown(button, shift, x, y);
  if (self.Expired()) return;
  TSkedra& grid = FGrid;
  PTaskItem item = &FItem;
  const bool second = button == mbLeft && shift.Contains(ssDouble);
  FClickPending = button == mbLeft && !second;
  TWeakRef<TTaskObject> task(item->Task());
  if (!second || grid.SelectedItem() != item) grid.Select(*item);
  if (second) {
    if (task.Expired()) return;
    grid.DoDblClick();
    // An entry lives exactly as long as its task.
    if (!task.Expired()) grid.TaskItems().Update(*item);
    return;
  }
  // The grid's markers go with the grid.
  if (!self.Expired() && button == mbLeft) grid.TaskDrag().Press(*this, InGrid(x, y));
}

void TPointControl::MouseMove(TShiftState, int x, int y) {
  FGrid.TaskDrag().Move(InGrid(x, y));
  if (FGrid.TaskDrag().Dragging()) FClickPending = false;
}

// The drop's handlers may free this marker and the grid; a press that became a drag is no
// click, even when the drag was cancelled.
void TPointControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  const bool click = FClickPending && ClientRect().Contains(TPoint{x, y});
  FClickPending = false;
  TSkedra& grid = FGrid;
  if (!grid.TaskDrag().Release(InGrid(x, y)) && click) grid.DoClick();
}

int TPointControl::CursorAt(int x, int y) const {
  const int cursor = FGrid.TaskDrag().CursorAt(*this, InGrid(x, y));
  return cursor != crDefault ? cursor : Cursor();
}

TPoint TPointControl::InGrid(int x, int y) const {
  const TPoint origin = ClientOrigin();
  return TPoint{origin.X + x, origin.Y + y};
}

void TPointControl::PopupMenuPopup(TComponent*) {
  PopupMenu()->Clear();
  AddMenuItem(L"Update...", UpdateTag);
  AddMenuItem(L"-", 0);
  AddMenuItem(L"Delete", DeleteTag);
}

void TPointControl::AddMenuItem(const String& caption, int tag) {
  NewMenuItem(*PopupMenu(), caption, tag, [this](TComponent* Sender) { MenuItemClick(Sender); });
}

// Both commands free this marker with its menu and the clicked item: only locals are read once
// they run. The menu and the grid's window touch neither after the click.
void TPointControl::MenuItemClick(TComponent* Sender) {
  PTaskItem item = &FItem;
  int tag = Sender->Tag();
  if (tag != UpdateTag && tag != DeleteTag) return;
  TTaskItems& items = FGrid.TaskItems();
  if (tag == DeleteTag)
    items.Delete(item->Task()->FID, true);
  else
    items.Update(*item);
}

}  // namespace skx
