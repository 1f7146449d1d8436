// The strip of standard controls above the grid: view, today, week range, working hours, time
// scale, a new task and the about box.
#pragma once

#include <windows.h>

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
};

class TToolbar {
 public:
  TToolbar(HWND Parent, HFONT Font);
  static constexpr int Height = 34;

  // Shows the control's current view and settings.
  void Show(ISkedraX& Control) const;
  // The value chosen in one of the lists: a day (0 Monday), minutes after midnight, or minutes per row.
  long Chosen(TCommand List) const;
  // Chooses Value in a list as the user would; false when the list has no such value.
  bool Choose(TCommand List, long Value) const;

 private:
  HWND Item(TCommand Command) const { return ::GetDlgItem(FParent, Command); }
  HWND FParent;
};

}  // namespace demo
