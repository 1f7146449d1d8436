// The task marker: paints its task, selects it on a press, and offers update and delete.
#include "SkedraComp/PointControl.h"

#include "SkedraComp/Skedra.h"

namespace skx {

namespace {

constexpr int UpdateTag = 2;
constexpr int DeleteTag = 3;
constexpr int SelectionBarWidth = 3;

}  // namespace

TPointControl::TPointControl(TSkedra& AOwner) : TWinControl(&AOwner), FGrid(AOwner) {}

void TPointControl::CreateParams(TCreateParams& params) const {
  TWinControl::CreateParams(params);
  params.Style = wsChild | wsClipSiblings | wsBorder;
}

void TPointControl::Paint(TCanvas& canvas) {
  if (!FItem) return;
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

// Only locals are used once the handlers run, since they may free this marker.
void TPointControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TWinControl::MouseDown(button, shift, x, y);
  TSkedra& grid = FGrid;
  PTaskItem item = FItem;
  if (!item) return;
  TTaskItems& items = grid.TaskItems();
  items.RunPointCommand([&grid, &items, item] {
    if (grid.FSelectedItem) items.InvalidateItem(*grid.FSelectedItem);
    grid.SelectItem(item);
    TWeakRef<TSkedra> alive(&grid);
    grid.DoSelectTask(item->Task.get());
    if (!alive.Expired() && grid.FSelectedItem) items.InvalidateItem(*grid.FSelectedItem);
  });
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

// Both commands free this marker (and its menu and item); the collection keeps them until the
// command returns, and nothing here reads them after the collection call.
void TPointControl::MenuItemClick(TComponent* Sender) {
  PTaskItem item = FItem;
  int tag = Sender->Tag();
  if (!item || (tag != UpdateTag && tag != DeleteTag)) return;
  TTaskItems& items = FGrid.TaskItems();
  items.RunPointCommand([&items, item, tag] {
    if (tag == DeleteTag)
      items.Delete(item->Task->FID);
    else
      items.Update(*item);
  });
}

}  // namespace skx
