// The strip of standard controls above the grid, in two rows: view, today, week range, working
// hours, time scale, a new task and the about box; then what the user's mouse and keys may do.
#pragma once

#include <windows.h>

#include <vector>

#include "SkedraXControl.h"

namespace demo {

enum TCommand {
  cmDaily = 1001,
  cmWeekly,
  cmToday,
  cmWeekStart,
  cmWeekEnd,
  cmDayStart,
  cmDayEnd,
  cmTimeScale,
  cmNewTask,
  cmAbout,
  cmDragTasks,
  cmKeepInHours,
  cmNowLine,
  cmAskDelete,
};

class TToolbar {
 public:
  // Laid out for the density Dpi; the controls go with the toolbar.
  TToolbar(HWND Parent, HFONT Font, int Dpi);
  ~TToolbar();
  TToolbar(const TToolbar&) = delete;
  TToolbar& operator=(const TToolbar&) = delete;
  int Height() const { return FHeight; }

  // Shows the control's current view and settings.
  void Show(ISkedraX2& Control) const;
  // The value chosen in one of the lists: a day (0 Monday), minutes after midnight, or minutes per row.
  long Chosen(TCommand List) const;
  // Chooses Value in a list as the user would; false when the list has no such value.
  bool Choose(TCommand List, long Value) const;
  bool Checked(TCommand Box) const;
  // Clicks a button or check box as the user would.
  void Click(TCommand Button) const;

 private:
  HWND Item(TCommand Command) const { return ::GetDlgItem(FParent, Command); }
  HWND FParent;
  int FHeight;
  std::vector<HWND> FItems;
};

}  // namespace demo
