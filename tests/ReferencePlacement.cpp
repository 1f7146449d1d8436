// The plain placement: overlap groups collected by comparing every task with every other.
#include "ReferencePlacement.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"

namespace skx::test {
namespace {

constexpr int FirstDayColumn = 2;
constexpr int MarkerIndent = 10;

int DayOf(TDateTime value) { return SplitDayTime(value).Day; }

bool CoversDay(const TTaskObject& task, int day) {
  return DayOf(task.FStartDateTime) <= day && day <= DayOf(task.FFinishDateTime);
}

bool FitsInt(std::int64_t value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

bool CanPlace(const TTaskObject& task) {
  return IsDecodable(task.FStartDateTime) && IsDecodable(task.FFinishDateTime);
}

bool TasksOverlap(const TTaskObject& a, const TTaskObject& b) {
  return (a.FStartDateTime <= b.FStartDateTime && b.FStartDateTime <= a.FFinishDateTime) ||
         (b.FStartDateTime <= a.FStartDateTime && a.FStartDateTime <= b.FFinishDateTime);
}

class TReference {
 public:
  explicit TReference(TSkedra& grid) : FGrid(grid), FItems(grid.TaskItems()) {}

  void Arrange() {
    std::vector<bool> marked(FItems.Count(), false);
    for (int index = 0; index < FItems.Count(); ++index) {
      TTaskItem& item = FItems.Items(index);
      if (CanPlace(*item.Task)) continue;
      marked[index] = true;
      for (TPointControl* point : item.Points) point->SetVisible(false);
    }
    for (int index = 0; index < FItems.Count(); ++index)
      if (!marked[index]) PlaceGroup(CollectGroup(index, marked));
  }

 private:
  std::vector<int> CollectGroup(int first, std::vector<bool>& marked) {
    std::vector<int> group{first};
    marked[first] = true;
    for (std::size_t next = 0; next < group.size(); ++next) {
      const TTaskObject& member = *FItems.Items(group[next]).Task;
      for (int index = 0; index < FItems.Count(); ++index) {
        if (marked[index] || !TasksOverlap(*FItems.Items(index).Task, member)) continue;
        group.push_back(index);
        marked[index] = true;
      }
    }
    return group;
  }

  void PlaceGroup(const std::vector<int>& group) {
    for (int col = FirstDayColumn; col < FGrid.ColCount(); ++col) {
      int day = DayOf(FGrid.ColumnDate(col));
      for (int index : group)
        if (CoversDay(*FItems.Items(index).Task, day)) EnsurePoint(FItems.Items(index), col);
      LayoutColumn(group, col);
    }
  }

  void EnsurePoint(TTaskItem& item, int col) {
    for (const TPointControl* point : item.Points)
      if (point->FCol == col) return;
    auto* point = new TPointControl(FGrid);
    point->SetVisible(false);
    point->SetParent(&FGrid);
    point->FCol = col;
    point->FItem = &item;
    auto* menu = new TPopupMenu(point);
    menu->OnPopup = [point](TComponent* Sender) { point->PopupMenuPopup(Sender); };
    point->SetPopupMenu(menu);
    item.Points.push_back(point);
  }

  void LayoutColumn(const std::vector<int>& group, int col) {
    std::vector<TPointControl*> points;
    for (int index : group)
      for (TPointControl* point : FItems.Items(index).Points)
        if (point->FCol == col) {
          points.push_back(point);
          break;
        }
    if (points.empty()) return;
    int count = static_cast<int>(points.size());
    int width = (FGrid.ColWidths(col) - MarkerIndent) / count;
    int day = DayOf(FGrid.ColumnDate(col));
    std::int64_t pitch = std::int64_t{FGrid.DefaultRowHeight()} + FGrid.GridLineWidth();
    int fixedRows = FGrid.FixedRows();
    int topRow = FGrid.TopVisibleRow();
    std::int64_t columnLeft = 0;
    for (int c = 0; c < col; ++c) columnLeft += FGrid.ColWidths(c);
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

  TSkedra& FGrid;
  TTaskItems& FItems;
};

}  // namespace

void ReferenceArrange(TSkedra& grid) { TReference(grid).Arrange(); }

}  // namespace skx::test
