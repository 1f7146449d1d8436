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
  explicit TPointControl(TSkedra& AOwner);

  void Paint(TCanvas& canvas) override;
  // Selects the task, for every button; a right press then brings up the marker's menu. The
  // second press of a double click opens "Update..." for the task.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // The release of a left press on the marker is a click of the grid.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  void PopupMenuPopup(TComponent* Sender);
  void MenuItemClick(TComponent* Sender);

  // The entry whose task it shows.
  PTaskItem FItem = nullptr;
  int FCol = -1;

 private:
  void AddMenuItem(const String& caption, int tag);

  TSkedra& FGrid;
  bool FClickPending = false;
};

}  // namespace skx
