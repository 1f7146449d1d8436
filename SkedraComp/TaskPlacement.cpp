// Placement of the task markers over the grid: overlap groups sharing each day column's width.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"
#include "SkedraComp/TaskItems.h"

namespace skx {

namespace {

// Columns 0 and 1 hold the time labels.
constexpr int FirstDayColumn = 2;
// The markers of a column start this far right of its left edge (grid lines not counted).
constexpr int MarkerIndent = 10;

// The day a value falls on, as the grid's cells decompose it.
int DayOf(TDateTime value) { return SplitDayTime(value).Day; }

bool CoversDay(const TTaskObject& task, int day) {
  return DayOf(task.FStartDateTime) <= day && day <= DayOf(task.FFinishDateTime);
}

bool FitsInt(std::int64_t value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// A container may store any number in a task's dates; a task whose dates name no day of the
// calendar (NaN, infinities, outside years 1 to 9999) has no place on the grid.
bool CanPlace(const TTaskObject& task) {
  return IsDecodable(task.FStartDateTime) && IsDecodable(task.FFinishDateTime);
}

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
      if (CoversDay(*FItems[*member]->Task, column.Day)) EnsurePoint(*FItems[*member], column.Col);
    LayoutColumn(first, last, column);
  }
}

bool TTaskItems::HasPoint(const TTaskItem& item, int ACol) {
  for (const TPointControl* point : item.Points)
    if (point->FCol == ACol) return true;
  return false;
}

void TTaskItems::EnsurePoint(TTaskItem& item, int ACol) {
  if (HasPoint(item, ACol)) return;
  auto* point = new TPointControl(FGrid);
  point->SetVisible(false);
  point->SetParent(&FGrid);
  point->FCol = ACol;
  point->FItem = &item;
  auto* menu = new TPopupMenu(point);
  menu->OnPopup = [point](TComponent* Sender) { point->PopupMenuPopup(Sender); };
  point->SetPopupMenu(menu);
  item.Points.push_back(point);
}

void TTaskItems::LayoutColumn(TGroupMember first, TGroupMember last, const TDayColumn& column) {
  std::vector<TPointControl*> points;
  for (auto member = first; member != last; ++member)
    for (TPointControl* point : FItems[*member]->Points)
      if (point->FCol == column.Col) {
        points.push_back(point);
        break;
      }
  if (points.empty()) return;
  int count = static_cast<int>(points.size());
  int width = (column.Width - MarkerIndent) / count;
  std::int64_t pitch = std::int64_t{FGrid.DefaultRowHeight()} + FGrid.GridLineWidth();
  int fixedRows = FGrid.FixedRows();
  int topRow = FGrid.TopVisibleRow();
  for (int i = 0; i < count; ++i) {
    TPointControl& point = *points[i];
    const TTaskObject& task = *point.FItem->Task;
    if (!CoversDay(task, column.Day)) {
      point.SetVisible(false);
      continue;
    }
    int startRow = FGrid.DateTimeToCell(task.FStartDateTime).Row;
    int finishRow = FGrid.DateTimeToCell(task.FFinishDateTime).Row;
    if (DayOf(task.FStartDateTime) != column.Day) startRow = fixedRows;
    if (DayOf(task.FFinishDateTime) != column.Day) finishRow = FGrid.RowCount() - 1;
    std::int64_t top = (std::int64_t{startRow} - topRow + fixedRows) * pitch;
    std::int64_t height = (std::int64_t{finishRow} - startRow + 1) * pitch;
    if (startRow < topRow + fixedRows) {
      top = pitch * fixedRows;
      height = (std::int64_t{finishRow} - topRow + fixedRows) * pitch;
    }
    std::int64_t left = column.Left + std::int64_t{width} * i + MarkerIndent;
    // The window system is never asked for an empty or negative size, nor for edges beyond what
    // its 32-bit coordinates hold (a container can make rows and columns that large).
    if (width <= 0 || height <= 0 || !FitsInt(top) || !FitsInt(top + height) ||
        !FitsInt(left) || !FitsInt(left + width)) {
      point.SetVisible(false);
      continue;
    }
    point.SetBounds(static_cast<int>(left), static_cast<int>(top), width,
                    static_cast<int>(height));
    point.SetVisible(true);
  }
}

}  // namespace skx
