// Placement of the task markers over the grid: overlap groups sharing each day column's width.
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

void TTaskItems::Arrange() {
  ClearMarks();
  // Tasks that cannot be placed take part in no group, and markers they had are hidden.
  for (PTaskItem item : FItems) {
    if (CanPlace(*item->Task)) continue;
    item->Marked = true;
    for (TPointControl* point : item->Points) point->SetVisible(false);
  }
  for (int index = 0; index < Count(); ++index)
    if (!FItems[index]->Marked) PlaceGroup(CollectGroup(index));
  // The visit flags mean nothing outside a pass, so none is left set.
  ClearMarks();
}

void TTaskItems::ClearMarks() {
  for (PTaskItem item : FItems) item->Marked = false;
}

std::vector<int> TTaskItems::CollectGroup(int index) {
  std::vector<int> group{index};
  FItems[index]->Marked = true;
  ExtendGroup(group);
  return group;
}

void TTaskItems::ExtendGroup(std::vector<int>& group) {
  for (std::size_t next = 0; next < group.size(); ++next) {
    const TTaskItem& member = *FItems[group[next]];
    for (int index = 0; index < Count(); ++index) {
      TTaskItem& other = *FItems[index];
      if (other.Marked || !TasksOverlap(other, member)) continue;
      group.push_back(index);
      other.Marked = true;
    }
  }
}

bool TTaskItems::TasksOverlap(const TTaskItem& a, const TTaskItem& b) {
  TDateTime aStart = a.Task->FStartDateTime;
  TDateTime aFinish = a.Task->FFinishDateTime;
  TDateTime bStart = b.Task->FStartDateTime;
  TDateTime bFinish = b.Task->FFinishDateTime;
  return (aStart <= bStart && bStart <= aFinish) || (bStart <= aStart && aStart <= bFinish);
}

void TTaskItems::PlaceGroup(const std::vector<int>& group) {
  for (int col = FirstDayColumn; col < FGrid.ColCount(); ++col) {
    int day = DayOf(FGrid.ColumnDate(col));
    for (int index : group)
      if (CoversDay(*FItems[index]->Task, day)) EnsurePoint(*FItems[index], col);
    LayoutColumn(group, col);
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

void TTaskItems::LayoutColumn(const std::vector<int>& group, int ACol) {
  std::vector<TPointControl*> points;
  for (int index : group)
    for (TPointControl* point : FItems[index]->Points)
      if (point->FCol == ACol) {
        points.push_back(point);
        break;
      }
  if (points.empty()) return;
  int count = static_cast<int>(points.size());
  int width = (FGrid.ColWidths(ACol) - MarkerIndent) / count;
  int day = DayOf(FGrid.ColumnDate(ACol));
  std::int64_t pitch = std::int64_t{FGrid.DefaultRowHeight()} + FGrid.GridLineWidth();
  int fixedRows = FGrid.FixedRows();
  int topRow = FGrid.TopVisibleRow();
  std::int64_t columnLeft = ColumnLeft(ACol);
  for (int i = 0; i < count; ++i) {
    TPointControl& point = *points[i];
    const TTaskObject& task = *point.FItem->Task;
    if (!CoversDay(task, day)) {
      point.SetVisible(false);
      continue;
    }
    int startRow = FGrid.DateTimeToCell(task.FStartDateTime).Row;
    int finishRow = FGrid.DateTimeToCell(task.FFinishDateTime).Row;
    if (DayOf(task.FStartDateTime) != day) startRow = fixedRows;
    if (DayOf(task.FFinishDateTime) != day) finishRow = FGrid.RowCount() - 1;
    std::int64_t top = (std::int64_t{startRow} - topRow + fixedRows) * pitch;
    std::int64_t height = (std::int64_t{finishRow} - startRow + 1) * pitch;
    if (startRow < topRow + fixedRows) {
      top = pitch * fixedRows;
      height = (std::int64_t{finishRow} - topRow + fixedRows) * pitch;
    }
    std::int64_t left = columnLeft + std::int64_t{width} * i + MarkerIndent;
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

std::int64_t TTaskItems::ColumnLeft(int ACol) const {
  std::int64_t left = 0;
  for (int col = 0; col < ACol; ++col) left += FGrid.ColWidths(col);
  return left;
}

}  // namespace skx
