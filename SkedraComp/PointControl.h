// The marker of one task in one day column: a small child window of the grid.
#pragma once

#include "Framework/Core/Controls.h"
#include "Framework/Core/Menus.h"
#include "SkedraComp/TaskItems.h"

namespace skx {

class TSkedra;

class TPointControl : public TWinControl {
 public:
  explicit TPointControl(TSkedra& AOwner);

  void CreateParams(TCreateParams& params) const override;
  void Paint(TCanvas& canvas) override;
  // Selects the task, for every button; a right press then brings up the marker's menu.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

  void PopupMenuPopup(TComponent* Sender);
  void MenuItemClick(TComponent* Sender);

  // The entry whose task it shows; null once the entry let it go.
  PTaskItem FItem = nullptr;
  int FCol = -1;

 private:
  void AddMenuItem(const String& caption, int tag);

  TSkedra& FGrid;
};

}  // namespace skx
