// The rules that place one day column's markers: which days a task covers, which markers exist
// and where each of the column's markers goes.
#pragma once

#include <cstdint>
#include <vector>

#include "Framework/Core/DateTime.h"
#include "SkedraComp/TaskObject.h"

namespace skx {

class TSkedra;
class TPointControl;
struct TTaskItem;

inline bool CoversDay(const TTaskObject& task, int day) {
  return DayOf(task.FStartDateTime) <= day && day <= DayOf(task.FFinishDateTime);
}

// A container may store any number in a task's dates; a task whose dates name no day of the
// calendar (NaN, infinities, outside years 1 to 9999) has no place on the grid.
inline bool CanPlace(const TTaskObject& task) {
  return IsDecodable(task.FStartDateTime) && IsDecodable(task.FFinishDateTime);
}

// The rows that the span from start to finish covers on one of its days: from the start's row on
// its first day, else from the first time row, to the finish's row on its last day, else to the
// last row.
struct TRowSpan {
  int First;
  int Last;
};
TRowSpan RowsOnDay(const TSkedra& grid, TDateTime start, TDateTime finish, int day);

// Gives the entry a marker in the column unless it has one: an invisible windowless child of the
// grid with its own menu, kept until the entry's markers are released. Answers the column's
// marker.
TPointControl* EnsurePoint(TSkedra& grid, TTaskItem& item, int ACol);

// Lays out the markers of one group in one day column, side by side in the given order, each
// over its task's rows of that day. A marker whose task no longer covers the day keeps its share
// but is hidden, and so is one without room or beyond 32-bit coordinates.
void LayoutMarkers(TSkedra& grid, const std::vector<TPointControl*>& points, int day,
                   std::int64_t columnLeft, int columnWidth);

}  // namespace skx
