// Placement of the task markers over the grid: overlap groups sharing each day column's width.
#include <algorithm>
#include <cmath>
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

// Whole days by truncation, kept in floating point so that any stored date compares.
double DayOf(TDateTime value) { return std::trunc(value); }

bool CoversDay(const TTaskObject& task, double day) {
  return DayOf(task.FStartDateTime) <= day && day <= DayOf(task.FFinishDateTime);
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
  int left = 0;
  for (int col = 0; col < FGrid.ColCount(); ++col) {
    if (col >= FirstDayColumn)
      columns.push_back({col, DayOf(FGrid.ColumnDate(col)), left, FGrid.ColWidths(col)});
    left += FGrid.ColWidths(col);
  }
  return columns;
}

// The entries that may have a marker in this pass: those whose days reach into the span of the
// shown days, and those that still have markers of an earlier pass. The spans of all tasks go
// to the grouping on the way, which regroups if any of them changed.
std::vector<int> TTaskItems::ItemsNearShownDays(const std::vector<TDayColumn>& columns) {
  double firstDay = std::numeric_limits<double>::infinity();
  double lastDay = -firstDay;
  for (const TDayColumn& column : columns) {
    firstDay = std::min(firstDay, column.Day);
    lastDay = std::max(lastDay, column.Day);
  }
  std::vector<int> near;
  FGroups.Resize(Count());
  for (int index = 0; index < Count(); ++index) {
    const TTaskItem& item = *FItems[index];
    const TTaskObject& task = *item.Task;
    FGroups.SetSpan(index, task.FStartDateTime, task.FFinishDateTime);
    if (!item.Points.empty() ||
        (DayOf(task.FStartDateTime) <= lastDay && firstDay <= DayOf(task.FFinishDateTime)))
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
  int pitch = FGrid.DefaultRowHeight() + FGrid.GridLineWidth();
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
    int top = (startRow - topRow + fixedRows) * pitch;
    int height = (finishRow - startRow + 1) * pitch;
    if (startRow < topRow + fixedRows) {
      top = pitch * fixedRows;
      height = (finishRow - topRow + fixedRows) * pitch;
    }
    // The window system is never asked for an empty or negative size.
    if (width <= 0 || height <= 0) {
      point.SetVisible(false);
      continue;
    }
    point.SetHeight(height);
    point.SetTop(top);
    point.SetLeft(column.Left + width * i + MarkerIndent);
    point.SetWidth(width);
    point.SetVisible(true);
  }
}

}  // namespace skx
