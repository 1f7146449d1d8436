// The plain placement: overlap groups collected by comparing every task with every other.
#include "ReferencePlacement.h"

#include <cstdint>
#include <vector>

#include "SkedraComp/MarkerLayout.h"
#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"

namespace skx::test {
namespace {

constexpr int FirstDayColumn = 2;

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
      if (CanPlace(*item.Task())) continue;
      marked[index] = true;
      for (TPointControl* point : item.Points()) point->SetVisible(false);
    }
    for (int index = 0; index < FItems.Count(); ++index)
      if (!marked[index]) PlaceGroup(CollectGroup(index, marked));
  }

 private:
  std::vector<int> CollectGroup(int first, std::vector<bool>& marked) {
    std::vector<int> group{first};
    marked[first] = true;
    for (std::size_t next = 0; next < group.size(); ++next) {
      const TTaskObject& member = *FItems.Items(group[next]).Task();
      for (int index = 0; index < FItems.Count(); ++index) {
        if (marked[index] || !TasksOverlap(*FItems.Items(index).Task(), member)) continue;
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
        if (CoversDay(*FItems.Items(index).Task(), day)) EnsurePoint(FGrid, FItems.Items(index), col);
      LayoutColumn(group, col);
    }
  }

  void LayoutColumn(const std::vector<int>& group, int col) {
    std::vector<TPointControl*> points;
    for (int index : group)
      for (TPointControl* point : FItems.Items(index).Points())
        if (point->Col() == col) {
          points.push_back(point);
          break;
        }
    std::int64_t columnLeft = 0;
    for (int c = 0; c < col; ++c) columnLeft += FGrid.ColWidths(c);
    LayoutMarkers(FGrid, points, DayOf(FGrid.ColumnDate(col)), columnLeft, FGrid.ColWidths(col));
  }

  TSkedra& FGrid;
  TTaskItems& FItems;
};

}  // namespace

void ReferenceArrange(TSkedra& grid) { TReference(grid).Arrange(); }

}  // namespace skx::test
