// The rules that place one day column's markers.
#include "SkedraComp/MarkerLayout.h"

#include <algorithm>
#include <limits>

#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"

namespace skx {

namespace {

// The markers of a column start this far right of its left edge (grid lines not counted), at 96
// pixels per inch.
constexpr int MarkerIndent = 10;

bool FitsInt(std::int64_t value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

}  // namespace

TRowSpan RowsOnDay(const TSkedra& grid, TDateTime start, TDateTime finish, int day) {
  TRowSpan rows{grid.DateTimeToCell(start).Row, grid.DateTimeToCell(finish).Row};
  if (DayOf(start) != day) rows.First = grid.FixedRows();
  if (DayOf(finish) != day) rows.Last = grid.RowCount() - 1;
  return rows;
}

TPointControl* EnsurePoint(TSkedra& grid, TTaskItem& item, int ACol) {
  for (TPointControl* point : item.Points())
    if (point->Col() == ACol) return point;
  auto* point = new TPointControl(grid, item, ACol);
  point->SetVisible(false);
  point->SetParent(&grid);
  auto* menu = new TPopupMenu(point);
  menu->OnPopup = [point](TComponent* Sender) { point->PopupMenuPopup(Sender); };
  point->SetPopupMenu(menu);
  item.AddPoint(point);
  return point;
}

void LayoutMarkers(TSkedra& grid, const std::vector<TPointControl*>& points, int day,
                   std::int64_t columnLeft, int columnWidth) {
  if (points.empty()) return;
  int count = static_cast<int>(points.size());
  const int indent = grid.Scale().Of(MarkerIndent);
  int width = (columnWidth - indent) / count;
  // A column too narrow for its markers hides them all, whatever their tasks.
  if (width <= 0) {
    for (TPointControl* point : points) point->SetVisible(false);
    return;
  }
  int topRow = grid.TopVisibleRow();
  for (int i = 0; i < count; ++i) {
    TPointControl& point = *points[i];
    const TTaskObject& task = *point.Item().Task();
    if (!CoversDay(task, day)) {
      point.SetVisible(false);
      continue;
    }
    const TRowSpan rows = RowsOnDay(grid, task.FStartDateTime, task.FFinishDateTime, day);
    const int startRow = rows.First;
    const int finishRow = rows.Last;
    // A marker that starts above the view shows from the top of the view's first row.
    const std::int64_t top = grid.RowTop(std::max(startRow, topRow));
    const std::int64_t height = grid.RowTop(finishRow + 1) - top;
    std::int64_t left = columnLeft + std::int64_t{width} * i + indent;
    // A marker never gets an empty or negative size, nor edges beyond what 32-bit coordinates
    // hold (a container can make rows and columns that large).
    if (height <= 0 || !FitsInt(top) || !FitsInt(top + height) ||
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
