// The grid's task collection: entries that own a task and its marker controls.
#pragma once

#include <memory>
#include <vector>

#include "Framework/Core/Controls.h"
#include "SkedraComp/TaskObject.h"

namespace skx {

class TSkedra;

struct TTaskItem {
  TTaskItem() = default;
  ~TTaskItem() { ReleasePoints(); }
  TTaskItem(const TTaskItem&) = delete;
  TTaskItem& operator=(const TTaskItem&) = delete;

  void ReleasePoints() {
    for (TControl* point : Points) delete point;
    Points.clear();
  }

  std::unique_ptr<TTaskObject> Task;
  // The task's markers, at most one per day column; children of the grid, freed by the entry.
  std::vector<TControl*> Points;
  // Visit flag of one placement pass.
  bool Marked = false;
};
using PTaskItem = TTaskItem*;

class TTaskItems {
 public:
  explicit TTaskItems(TSkedra& grid) : FGrid(grid) {}
  ~TTaskItems();
  TTaskItems(const TTaskItems&) = delete;
  TTaskItems& operator=(const TTaskItems&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  // "List index out of bounds (%d)" outside 0..Count-1.
  TTaskItem& Items(int index) const;

  // Makes a task over the grid's selected cells, lets it edit itself and appends it.
  void NewTask();
  // Takes the task over; its markers appear at the next placement.
  void Add(std::unique_ptr<TTaskObject> task);
  // Raises the unselect event for a selected task, then frees every entry without events.
  void Clear();

  // Places the markers of every task over the shown cells.
  void Arrange();
  void ReleasePoints();
  void ReleaseItemPoints(TTaskItem& item);
  void InvalidateItem(TTaskItem& item);

 private:
  void ClearMarks();

  TSkedra& FGrid;
  std::vector<std::unique_ptr<TTaskItem>> FItems;
};

}  // namespace skx
