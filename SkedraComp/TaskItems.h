// The grid's task collection: entries that own a task and its marker controls, and their placement.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "SkedraComp/TaskObject.h"

namespace skx {

class TSkedra;
class TPointControl;

// Created and freed only through the collection's entry routines.
struct TTaskItem {
  std::unique_ptr<TTaskObject> Task;
  // At most one marker per day column; children of the grid, freed with the entry.
  std::vector<TPointControl*> Points;
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

  // Makes a task over the grid's selected cells, lets it edit itself and appends it; on any
  // failure after the task exists, the entry and its task are gone again.
  void NewTask();
  // Takes the task over; its markers appear at the next placement. No task, or one that an
  // entry already owns (which stays with that entry), is refused and changes nothing.
  void Add(std::unique_ptr<TTaskObject> task);
  // The first task with the identifier, if it agrees: unselect, delete event, freed, arranged.
  void Delete(int AID);
  // Raises the unselect event for a selected task, then frees every entry without events.
  void Clear();
  // Clear for the grid's destruction: the entries are freed even when the handler fails.
  void Dispose() noexcept;

  // Places the markers of every task over the shown cells; markers are made once per task and
  // column and afterwards only moved, resized, shown or hidden.
  void Arrange();
  void ReleasePoints();
  void ReleaseItemPoints(TTaskItem& item);
  void InvalidateItem(TTaskItem& item);

  // Runs a marker's own command. Markers freed meanwhile are only hidden and detached until it
  // returns, since the command's marker, its menu and the clicked item are still in use.
  void RunPointCommand(const std::function<void()>& command);

 private:
  static PTaskItem InitItem();
  void DoneItem(TTaskItem& item);
  void FreeItem(PTaskItem item);
  void FreeAllItems();
  void FreePoint(TPointControl* point);
  void FreeRetiredPoints();
  void RemoveItem(PTaskItem item);

  void ClearMarks();
  std::vector<int> CollectGroup(int index);
  void ExtendGroup(std::vector<int>& group);
  static bool TasksOverlap(const TTaskItem& a, const TTaskItem& b);
  void PlaceGroup(const std::vector<int>& group);
  static bool HasPoint(const TTaskItem& item, int ACol);
  void EnsurePoint(TTaskItem& item, int ACol);
  void LayoutColumn(const std::vector<int>& group, int ACol);
  std::int64_t ColumnLeft(int ACol) const;

  TSkedra& FGrid;
  std::vector<PTaskItem> FItems;
  int FPointCommands = 0;
  std::vector<TPointControl*> FRetiredPoints;
};

}  // namespace skx
