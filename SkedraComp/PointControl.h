// The marker of one task in one day column: a windowless control that the grid paints and
// hit-tests.
#pragma once

#include "Framework/Core/Controls.h"
#include "Framework/Core/Menus.h"
#include "SkedraComp/TaskItems.h"

namespace skx {

class TSkedra;

// Framed and opaque, as a thin-bordered child window erased in the grid's colour would be.
class TPointControl : public TControl {
 public:
  // The marker of the entry's task in the day column.
  TPointControl(TSkedra& AOwner, TTaskItem& item, int ACol);

  void Paint(TCanvas& canvas) override;
  // Selects the task, for every button; a right press then brings up the marker's menu, a left
  // one may begin a drag of the task (the grid's TTaskDrag), which the moves and the release
  // carry on. The second press of a double click opens "Update..." for the task.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  // The release of a left press on the marker that was no drag is a click of the grid.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  int CursorAt(int x, int y) const override;

  void PopupMenuPopup(TComponent* Sender);
  void MenuItemClick(TComponent* Sender);

  // The entry whose task it shows.
  TTaskItem& Item() const { return FItem; }
  int Col() const { return FCol; }

 private:
  void AddMenuItem(const String& caption, int tag);
  // A point of the client area in the grid's client coordinates.
  TPoint InGrid(int x, int y) const;

  TSkedra& FGrid;
  TTaskItem& FItem;
  const int FCol;
  bool FClickPending = false;
};

}  // namespace skx
