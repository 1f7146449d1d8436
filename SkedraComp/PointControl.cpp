// The task marker: paints its task, selects it on a press, and offers update and delete.
#include "SkedraComp/PointControl.h"

#include "SkedraComp/Skedra.h"

namespace skx {

namespace {

constexpr int UpdateTag = 2;
constexpr int DeleteTag = 3;
constexpr int SelectionBarWidth = 3;

}  // namespace

TPointControl::TPointControl(TSkedra& AOwner) : TControl(&AOwner), FGrid(AOwner) {
  SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque, csFramed});
}

void TPointControl::Paint(TCanvas& canvas) {
  TRect rect = ClientRect();
  rect.Left += 1;
  if (FGrid.FSelectedItem == FItem) {
    canvas.SetPenColor(clActiveCaption);
    canvas.SetPenWidth(SelectionBarWidth);
    canvas.MoveTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Left, rect.Bottom);
  }
  rect.Left += 2;
  FItem->Task->Draw(canvas, rect);
}

// Only locals are used once the handlers run, since they may free this marker and the grid.
// The first press of a double click selected the task; the second selects it only if something
// else took the selection in between.
void TPointControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TWeakRef<TPointControl> self(this);
  TControl::MouseDown(button, shift, x, y);
  if (self.Expired()) return;
  TSkedra& grid = FGrid;
  PTaskItem item = FItem;
  const bool second = button == mbLeft && shift.Contains(ssDouble);
  FClickPending = button == mbLeft && !second;
  TWeakRef<TTaskObject> task(item->Task.get());
  if (!second || grid.FSelectedItem != item) grid.SelectByUser(*item);
  if (!second || task.Expired()) return;
  grid.DoDblClick();
  // An entry lives exactly as long as its task.
  if (!task.Expired()) grid.TaskItems().Update(*item);
}

void TPointControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !FClickPending) return;
  FClickPending = false;
  if (ClientRect().Contains(TPoint{x, y})) FGrid.DoClick();
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
  PTaskItem item = FItem;
  int tag = Sender->Tag();
  if (tag != UpdateTag && tag != DeleteTag) return;
  TTaskItems& items = FGrid.TaskItems();
  if (tag == DeleteTag)
    items.Delete(item->Task->FID, true);
  else
    items.Update(*item);
}

}  // namespace skx
