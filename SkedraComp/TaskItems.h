// The grid's task collection: entries that own a task and its marker controls, and their placement.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "SkedraComp/DragTimes.h"
#include "SkedraComp/OverlapGroups.h"
#include "SkedraComp/TaskObject.h"

namespace skx {

class TSkedra;
class TPointControl;

// An entry of the collection: it owns a task and the task's markers. Created and freed only
// through the collection's entry routines; an entry lives exactly as long as its task.
class TTaskItem {
 public:
  explicit TTaskItem(std::unique_ptr<TTaskObject> task) : FTask(std::move(task)) {}
  TTaskItem(const TTaskItem&) = delete;
  TTaskItem& operator=(const TTaskItem&) = delete;

  TTaskObject* Task() const { return FTask.get(); }
  // At most one marker per day column; windowless children of the grid, freed with the entry.
  const std::vector<TPointControl*>& Points() const { return FPoints; }
  void AddPoint(TPointControl* point) { FPoints.push_back(point); }
  // The markers leave the entry, for their owner to free.
  std::vector<TPointControl*> TakePoints() { return std::exchange(FPoints, {}); }
  void FreeTask() { FTask.reset(); }

 private:
  std::unique_ptr<TTaskObject> FTask;
  std::vector<TPointControl*> FPoints;
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
  // entry of this or another grid already owns (which stays with that entry), is refused and
  // changes nothing.
  void Add(std::unique_ptr<TTaskObject> task);
  // Add for many tasks, all or nothing: a task that Add would refuse, or one given twice, refuses
  // the whole call with Add's failure before any is taken. The tasks of a refused call are freed,
  // each once, except those that an entry holds.
  void AddTasks(std::vector<std::unique_ptr<TTaskObject>> tasks);
  // The first task with the identifier, if it agrees: unselect, delete event, freed, arranged.
  // A deletion the user asked for (ask) raises the before-delete event first, which may cancel
  // it; the container's own call does not ask.
  void Delete(int AID, bool ask = false);
  // Delete of the entry's own task.
  void Delete(TTaskItem& item, bool ask);
  // "Update...": unless the before-update event cancels it, the task dialog, and on OK the
  // task's markers placed anew and the update event. Outside the container's user mode nothing
  // happens.
  void Update(TTaskItem& item);
  // The drop of a drag: the before-move or before-resize event with the new times, then, unless
  // a handler cancelled, the times set, the task's markers placed anew, the moved or resized
  // event and the update event.
  void Reschedule(TTaskItem& item, const TTaskTimes& times, bool resized);
  // Whether the task dialog (of "New task..." or "Update...") is up.
  bool EditingTask() const { return FDialogs > 0; }
  // Raises the unselect event for a selected task, then frees every entry without events.
  void Clear();
  // Clear for the grid's destruction: the entries are freed even when the handler fails.
  void Dispose() noexcept;

  // Places the markers of every task over the shown cells; markers are made once per task and
  // column and afterwards only moved, resized, shown or hidden. Tasks that overlap, directly or
  // through others, share a column's width in their group's order. The groups are kept from
  // pass to pass while no task's span changes; such a pass only scans the tasks and lays out
  // those near the shown days. Inside the grid's batch it waits for the batch's end.
  void Arrange();
  void ReleasePoints();
  void ReleaseItemPoints(TTaskItem& item);
  void InvalidateItem(TTaskItem& item);

 private:
  void DoneItem(TTaskItem& item);
  void FreeItem(PTaskItem item);
  void FreeAllItems();
  void RemoveItem(PTaskItem item);
  // Marks the task as held by an entry, or refuses one that an entry holds already.
  static void ClaimTask(std::unique_ptr<TTaskObject>& task);
  void AppendItem(std::unique_ptr<TTaskObject> task);
  // Runs one of the task's dialogs, counted in FDialogs; a drag under way ends first. The grid
  // may be freed, with this collection, while the dialog is up.
  template <typename Dialog>
  bool RunDialog(Dialog dialog);

  // What a pass reads once of each day column.
  struct TDayColumn {
    int Col;
    int Day;
    std::int64_t Left;
    int Width;
  };
  // An entry that may have a marker in this pass, with what the pass reads of it once: its
  // group and place in the group's order (as one key), and the days its task covers.
  struct TShownItem {
    std::int64_t Order;
    int FirstDay;
    int LastDay;
    TTaskItem* Item;
  };
  using TGroupMember = std::vector<TShownItem>::const_iterator;
  std::vector<TDayColumn> DayColumns() const;
  std::vector<TShownItem> ItemsNearShownDays(const std::vector<TDayColumn>& columns);
  // The table holds each member's marker by column; it is only passed in to be reused.
  void PlaceGroup(TGroupMember first, TGroupMember last, const std::vector<TDayColumn>& columns,
                  std::vector<TPointControl*>& table);

  TSkedra& FGrid;
  std::vector<PTaskItem> FItems;
  TOverlapGroups FGroups;
  int FDialogs = 0;
};

}  // namespace skx
