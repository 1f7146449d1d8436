// The arithmetic of dragging a task over the grid, in whole days and whole time slots.
#include "SkedraComp/DragTimes.h"

#include <algorithm>

#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

constexpr std::int64_t MSecsPerMinute = 60000;

bool Earlier(TDayTime a, TDayTime b) {
  return a.Day < b.Day || (a.Day == b.Day && a.MSec < b.MSec);
}

// The parts round a value to the millisecond: an end whose parts stay keeps its own number.
TDateTime Rejoin(TDateTime original, TDayTime before, TDayTime after) {
  return before.Day == after.Day && before.MSec == after.MSec ? original : JoinDayTime(after);
}

// The slot steps by which both ends may shift and stay inside the slots of their own days; a
// task already beyond a bound is not pushed back by it.
std::int64_t MoveSteps(TDayTime start, TDayTime finish, int slots, std::int64_t slotMSecs,
                       std::int64_t lastSlotStart) {
  const std::int64_t lowest = -std::min(start.MSec, finish.MSec) / slotMSecs;
  const std::int64_t highest = (lastSlotStart - std::max(start.MSec, finish.MSec)) / slotMSecs;
  return std::clamp<std::int64_t>(slots, std::min<std::int64_t>(lowest, 0),
                                  std::max<std::int64_t>(highest, 0));
}

// The time of day that an end dragged `slots` rows from its shown slot gets, within the slots
// first..last; the end's own time when that would go against the drag or no slot is left.
int ResizedMSec(int msec, int slots, std::int64_t first, std::int64_t last, std::int64_t slotMSecs,
                const TDaySlots& daySlots) {
  if (first > last) return msec;
  const std::int64_t slot =
      std::clamp<std::int64_t>(std::int64_t{SlotOfTime(msec, daySlots)} + slots, first, last);
  const std::int64_t moved = slot * slotMSecs;
  if ((slots > 0 && moved < msec) || (slots < 0 && moved > msec)) return msec;
  return static_cast<int>(moved);
}

}  // namespace

int SlotOfTime(int msecOfDay, const TDaySlots& slots) {
  const int minutes = msecOfDay / static_cast<int>(MSecsPerMinute);
  int slot = CheckedDiv(minutes, slots.Minutes);
  if (CheckedMod(minutes, slots.Minutes) != 0) ++slot;
  return std::min(slot, slots.Count - 1);
}

std::optional<TTaskTimes> DraggedTimes(const TTaskTimes& times, TTaskDragKind kind, int days,
                                       int slots, const TDaySlots& daySlots) {
  if (!IsDecodable(times.Start) || !IsDecodable(times.Finish)) return std::nullopt;
  if (daySlots.Minutes <= 0 || daySlots.Count <= 0) return std::nullopt;
  const TDayTime start = SplitDayTime(times.Start);
  const TDayTime finish = SplitDayTime(times.Finish);
  const std::int64_t slotMSecs = daySlots.Minutes * MSecsPerMinute;
  const std::int64_t lastSlot = daySlots.Count - 1;
  TDayTime newStart = start;
  TDayTime newFinish = finish;
  if (kind == tdMove) {
    const std::int64_t shift =
        MoveSteps(start, finish, slots, slotMSecs, lastSlot * slotMSecs) * slotMSecs;
    // Both ends keep to their days, so only the day numbers can leave the calendar.
    const double startDay = static_cast<double>(start.Day) + days;
    const double finishDay = static_cast<double>(finish.Day) + days;
    if (!IsDecodable(startDay) || !IsDecodable(finishDay)) return std::nullopt;
    newStart = TDayTime{static_cast<int>(startDay), static_cast<int>(start.MSec + shift)};
    newFinish = TDayTime{static_cast<int>(finishDay), static_cast<int>(finish.MSec + shift)};
  } else if (!Earlier(finish, start)) {
    const bool sameDay = start.Day == finish.Day;
    if (kind == tdResizeStart) {
      const std::int64_t last = sameDay ? std::min(finish.MSec / slotMSecs, lastSlot) : lastSlot;
      newStart.MSec = ResizedMSec(start.MSec, slots, 0, last, slotMSecs, daySlots);
    } else {
      const std::int64_t first = sameDay ? (start.MSec + slotMSecs - 1) / slotMSecs : 0;
      newFinish.MSec = ResizedMSec(finish.MSec, slots, first, lastSlot, slotMSecs, daySlots);
    }
  }
  return TTaskTimes{Rejoin(times.Start, start, newStart), Rejoin(times.Finish, finish, newFinish)};
}

}  // namespace skx
