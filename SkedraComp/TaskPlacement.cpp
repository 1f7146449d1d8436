// Placement of the task markers over the grid: overlap groups sharing each day column's width.
#include <algorithm>
#include <cmath>
#include <limits>

#include "SkedraComp/MarkerLayout.h"
#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"
#include "SkedraComp/TaskItems.h"

namespace skx {

namespace {

// Columns 0 and 1 hold the time labels.
constexpr int FirstDayColumn = 2;

}  // namespace

// Only the groups of tasks near the shown days are laid out, and of each only those members:
// the others get no marker, and leaving them out keeps the order of the rest.
void TTaskItems::Arrange() {
  if (FItems.empty()) return;
  std::vector<TDayColumn> columns = DayColumns();
  std::vector<int> shown = ItemsNearShownDays(columns);
  std::sort(shown.begin(), shown.end(), [this](int a, int b) {
    if (FGroups.Group(a) != FGroups.Group(b)) return FGroups.Group(a) < FGroups.Group(b);
    return FGroups.Order(a) < FGroups.Order(b);
  });
  for (auto first = shown.cbegin(); first != shown.cend();) {
    int group = FGroups.Group(*first);
    auto last = std::find_if(first, shown.cend(),
                             [this, group](int index) { return FGroups.Group(index) != group; });
    PlaceGroup(first, last, columns);
    first = last;
  }
}

std::vector<TTaskItems::TDayColumn> TTaskItems::DayColumns() const {
  std::vector<TDayColumn> columns;
  std::int64_t left = 0;
  for (int col = 0; col < FGrid.ColCount(); ++col) {
    if (col >= FirstDayColumn)
      columns.push_back({col, DayOf(FGrid.ColumnDate(col)), left, FGrid.ColWidths(col)});
    left += FGrid.ColWidths(col);
  }
  return columns;
}

// The entries that may have a marker in this pass: those whose days may reach into the span of
// the shown days (a value's day is its whole part or, rounded up to midnight, the next one), and
// those that still have markers of an earlier pass. The spans of all tasks go to the grouping
// on the way, which regroups if any of them changed. Tasks that cannot be placed join no group,
// and markers they had are hidden.
std::vector<int> TTaskItems::ItemsNearShownDays(const std::vector<TDayColumn>& columns) {
  double firstDay = std::numeric_limits<double>::infinity();
  double lastDay = -firstDay;
  for (const TDayColumn& column : columns) {
    firstDay = std::min<double>(firstDay, column.Day);
    lastDay = std::max<double>(lastDay, column.Day);
  }
  const double apart = std::numeric_limits<double>::quiet_NaN();
  std::vector<int> near;
  FGroups.Resize(Count());
  for (int index = 0; index < Count(); ++index) {
    const TTaskItem& item = *FItems[index];
    const TTaskObject& task = *item.Task;
    if (!CanPlace(task)) {
      FGroups.SetSpan(index, apart, apart);
      for (TPointControl* point : item.Points) point->SetVisible(false);
      continue;
    }
    FGroups.SetSpan(index, task.FStartDateTime, task.FFinishDateTime);
    if (!item.Points.empty() || (std::trunc(task.FStartDateTime) <= lastDay &&
                                 firstDay <= std::trunc(task.FFinishDateTime) + 1))
      near.push_back(index);
  }
  FGroups.Update();
  return near;
}

void TTaskItems::PlaceGroup(TGroupMember first, TGroupMember last,
                            const std::vector<TDayColumn>& columns) {
  for (const TDayColumn& column : columns) {
    for (auto member = first; member != last; ++member)
      if (CoversDay(*FItems[*member]->Task, column.Day))
        EnsurePoint(FGrid, *FItems[*member], column.Col);
    LayoutColumn(first, last, column);
  }
}

void TTaskItems::LayoutColumn(TGroupMember first, TGroupMember last, const TDayColumn& column) {
  std::vector<TPointControl*> points;
  for (auto member = first; member != last; ++member)
    for (TPointControl* point : FItems[*member]->Points)
      if (point->FCol == column.Col) {
        points.push_back(point);
        break;
      }
  LayoutMarkers(FGrid, points, column.Day, column.Left, column.Width);
}

}  // namespace skx
