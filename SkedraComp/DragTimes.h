// The arithmetic of dragging a task over the grid: whole days and whole time slots, counted in
// integer milliseconds of the day and turned into date-time values once.
#pragma once

#include <cstdint>
#include <optional>

#include "Framework/Core/DateTime.h"

namespace skx {

enum TTaskDragKind : std::uint8_t { tdMove, tdResizeStart, tdResizeFinish };

struct TTaskTimes {
  TDateTime Start = 0;
  TDateTime Finish = 0;
  friend bool operator==(const TTaskTimes& a, const TTaskTimes& b) {
    return a.Start == b.Start && a.Finish == b.Finish;
  }
  friend bool operator!=(const TTaskTimes& a, const TTaskTimes& b) { return !(a == b); }
};

// The rows of a day: Count slots of Minutes each (at least one of each). A scale that does not
// divide the day leaves its last slot longer than the others.
struct TDaySlots {
  int Minutes = 15;
  int Count = 96;
};

// The slot a time of day (in milliseconds) is shown in: the slot that starts at its minute, else
// the next one; the times after the last slot's start belong to the last slot. A scale of 0 is
// "Division by zero".
int SlotOfTime(int msecOfDay, const TDaySlots& slots);

// The times a drag gives a task, the pointer having gone `days` columns and `slots` rows from
// where it was pressed:
// - tdMove shifts both ends by the same amount, keeping each inside the slots of its day;
// - tdResizeStart and tdResizeFinish put that end on the start of the slot `slots` rows from the
//   one it is shown in, on its own day, never past the other end (the finish is the start of the
//   task's last slot, so a task keeps at least one slot), and never against the drag.
// An end that does not change keeps its value exactly. Nothing, when the task's times name no
// day of the calendar or the result would leave it; a resize of a task that ends before it
// starts leaves it as it is.
std::optional<TTaskTimes> DraggedTimes(const TTaskTimes& times, TTaskDragKind kind, int days,
                                       int slots, const TDaySlots& daySlots);

}  // namespace skx
