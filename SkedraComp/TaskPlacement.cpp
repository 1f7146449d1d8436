// Placement of the task markers over the grid: overlap groups sharing each day column's width.
#include <algorithm>
#include <cmath>
#include <limits>

#include "SkedraComp/MarkerLayout.h"
#include "SkedraComp/PointControl.h"
#include "SkedraComp/Prefetch.h"
#include "SkedraComp/Skedra.h"
#include "SkedraComp/TaskItems.h"

namespace skx {

// Only the groups of tasks near the shown days are laid out, and of each only those members:
// the others get no marker, and leaving them out keeps the order of the rest.
void TTaskItems::Arrange() {
  if (FItems.empty() || FGrid.UpdateCount() > 0) return;
  TInvalidationBatch batch(FGrid);
  std::vector<TDayColumn> columns = DayColumns();
  std::vector<TShownItem> shown = ItemsNearShownDays(columns);
  std::sort(shown.begin(), shown.end(),
            [](const TShownItem& a, const TShownItem& b) { return a.Order < b.Order; });
  std::vector<TPointControl*> table;
  for (auto first = shown.cbegin(); first != shown.cend();) {
    std::int64_t group = first->Order >> 32;
    auto last = std::find_if(first, shown.cend(),
                             [group](const TShownItem& item) { return item.Order >> 32 != group; });
    PlaceGroup(first, last, columns, table);
    first = last;
  }
}

std::vector<TTaskItems::TDayColumn> TTaskItems::DayColumns() const {
  std::vector<TDayColumn> columns;
  std::int64_t left = 0;
  for (int col = 0; col < FGrid.ColCount(); ++col) {
    if (col >= TSkedra::FirstDayColumn)
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
std::vector<TTaskItems::TShownItem> TTaskItems::ItemsNearShownDays(
    const std::vector<TDayColumn>& columns) {
  double firstDay = std::numeric_limits<double>::infinity();
  double lastDay = -firstDay;
  for (const TDayColumn& column : columns) {
    firstDay = std::min<double>(firstDay, column.Day);
    lastDay = std::max<double>(lastDay, column.Day);
  }
  const double apart = std::numeric_limits<double>::quiet_NaN();
  std::vector<TShownItem> shown;
  std::vector<int> near;
  FGroups.Resize(Count());
  for (int index = 0; index < Count(); ++index) {
    // Entries and tasks lie wherever the heap put them: ask for the coming ones early, the entry
    // before its task.
    if (index + 32 < Count()) PrefetchRead(FItems[index + 32]);
    if (index + 16 < Count()) PrefetchRead(&FItems[index + 16]->Task()->FStartDateTime);
    TTaskItem& item = *FItems[index];
    const TTaskObject& task = *item.Task();
    if (!CanPlace(task)) {
      FGroups.SetSpan(index, apart, apart);
      for (TPointControl* point : item.Points()) point->SetVisible(false);
      continue;
    }
    FGroups.SetSpan(index, task.FStartDateTime, task.FFinishDateTime);
    if (!item.Points().empty() || (std::trunc(task.FStartDateTime) <= lastDay &&
                                 firstDay <= std::trunc(task.FFinishDateTime) + 1)) {
      shown.push_back({0, DayOf(task.FStartDateTime), DayOf(task.FFinishDateTime), &item});
      near.push_back(index);
    }
  }
  FGroups.Update(near);
  for (std::size_t place = 0; place < near.size(); ++place)
    shown[place].Order = std::int64_t{FGroups.Group(near[place])} << 32 | FGroups.Order(near[place]);
  return shown;
}

// Each member's markers are looked up once for all columns; a column's slice of the table then
// lists its markers in the group's order.
void TTaskItems::PlaceGroup(TGroupMember first, TGroupMember last,
                            const std::vector<TDayColumn>& columns,
                            std::vector<TPointControl*>& table) {
  std::size_t members = static_cast<std::size_t>(last - first);
  table.assign(columns.size() * members, nullptr);
  for (std::size_t member = 0; member < members; ++member)
    for (TPointControl* point : first[member].Item->Points()) {
      auto column = static_cast<std::size_t>(point->Col() - TSkedra::FirstDayColumn);
      if (column < columns.size() && table[column * members + member] == nullptr)
        table[column * members + member] = point;
    }
  std::vector<TPointControl*> points;
  for (std::size_t column = 0; column < columns.size(); ++column) {
    const TDayColumn& dayColumn = columns[column];
    TPointControl** cells = table.data() + column * members;
    for (std::size_t member = 0; member < members; ++member)
      if (cells[member] == nullptr && first[member].FirstDay <= dayColumn.Day &&
          dayColumn.Day <= first[member].LastDay)
        cells[member] = EnsurePoint(FGrid, *first[member].Item, dayColumn.Col);
    points.clear();
    for (std::size_t member = 0; member < members; ++member)
      if (cells[member] != nullptr) points.push_back(cells[member]);
    LayoutMarkers(FGrid, points, dayColumn.Day, dayColumn.Left, dayColumn.Width);
  }
}

}  // namespace skx
