// The grid's task collection: entries, their routines, and the task operations with their events.
#include "SkedraComp/TaskItems.h"

#include <algorithm>

#include "Framework/Core/Exceptions.h"
#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"
#include "SkedraComp/TaskDrag.h"

namespace skx {

TTaskItems::~TTaskItems() { Dispose(); }

// A failure cannot leave a destructor: an unselect handler that fails while a grid freed
// directly goes away must not end the host process, and the entries are freed all the same.
void TTaskItems::Dispose() noexcept {
  try {
    Clear();
  } catch (...) {
    FreeAllItems();
  }
}

TTaskItem& TTaskItems::Items(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return *FItems[index];
}

template <typename Dialog>
bool TTaskItems::RunDialog(Dialog dialog) {
  FGrid.TaskDrag().Cancel();
  struct TCount {
    TWeakRef<TSkedra> Grid;
    int& Dialogs;
    ~TCount() {
      if (!Grid.Expired()) --Dialogs;
    }
  };
  ++FDialogs;
  TCount count{TWeakRef<TSkedra>(&FGrid), FDialogs};
  return dialog();
}

// Every marker is freed here: a drag of the entry's task cannot outlive the marker it began on.
void TTaskItems::ReleaseItemPoints(TTaskItem& item) {
  FGrid.TaskDrag().ItemReleased(item);
  TInvalidationBatch batch(FGrid);
  for (TPointControl* point : item.TakePoints()) delete point;
}

void TTaskItems::DoneItem(TTaskItem& item) {
  ReleaseItemPoints(item);
  item.FreeTask();
}

// The selection never names a freed entry, whatever handler freed it.
void TTaskItems::FreeItem(PTaskItem item) {
  FGrid.ForgetItem(*item);
  DoneItem(*item);
  delete item;
}

void TTaskItems::InvalidateItem(TTaskItem& item) {
  for (TPointControl* point : item.Points()) point->Invalidate();
}

// An entry of any grid that holds the task keeps it; the second claim on it is dropped, not
// acted on.
void TTaskItems::ClaimTask(std::unique_ptr<TTaskObject>& task) {
  if (task->FOwned) {
    static_cast<void>(task.release());
    throw EInvalidOperation(L"The task is already in the list");
  }
  task->FOwned = true;
}

void TTaskItems::RemoveItem(PTaskItem item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
}

// After every handler call the grid may be gone, this collection with it; only locals are
// touched then. Outside the container's user mode no dialog opens.
void TTaskItems::NewTask() {
  if (!FGrid.InUserMode()) return;
  TWeakRef<TSkedra> grid(&FGrid);
  TCellRect cells = FGrid.Selection();
  std::unique_ptr<TTaskObject> created = FGrid.CreateTask();
  if (grid.Expired()) return;
  if (!created) throw EInvalidOperation(L"The event \"OnCreateTask\" returned no task");
  ClaimTask(created);
  PTaskItem item = new TTaskItem(std::move(created));
  try {
    TTaskObject& task = *item->Task();
    task.FStartDateTime = FGrid.CellToDateTime(cells.Left, cells.Top);
    task.FFinishDateTime = FGrid.CellToDateTime(cells.Right, cells.Bottom);
    const bool confirmed = RunDialog([&task] { return task.EditAppend(); });
    if (grid.Expired()) {
      delete item;
      return;
    }
    if (!confirmed) {
      FreeItem(item);
      return;
    }
  } catch (...) {
    if (grid.Expired())
      delete item;
    else
      FreeItem(item);
    throw;
  }
  TTaskObject* task = item->Task();
  TWeakRef<TTaskObject> alive(task);
  try {
    FItems.push_back(item);
    Arrange();
    FGrid.DoAppendTask(task);
  } catch (...) {
    // An append handler that deleted the task, or freed the grid, has freed its entry already.
    if (!alive.Expired()) {
      RemoveItem(item);
      FreeItem(item);
    }
    throw;
  }
}

namespace {

void CheckGiven(const std::unique_ptr<TTaskObject>& task) {
  if (!task) throw EInvalidOperation(L"There is no task to add");
}

}  // namespace

void TTaskItems::AppendItem(std::unique_ptr<TTaskObject> task) {
  FItems.push_back(new TTaskItem(std::move(task)));
}

void TTaskItems::Add(std::unique_ptr<TTaskObject> task) {
  CheckGiven(task);
  ClaimTask(task);
  AppendItem(std::move(task));
}

// The claims double as the check for a task given twice: its second claim is refused. A refusal
// takes the claims back, then claims again over the whole vector to leave it holding only what it
// may free: a task that an entry holds, and every repeat of a task, is refused and let go.
void TTaskItems::AddTasks(std::vector<std::unique_ptr<TTaskObject>> tasks) {
  FItems.reserve(FItems.size() + tasks.size());
  std::size_t claimed = 0;
  try {
    for (; claimed < tasks.size(); ++claimed) {
      CheckGiven(tasks[claimed]);
      ClaimTask(tasks[claimed]);
    }
  } catch (...) {
    for (std::size_t i = 0; i < claimed; ++i) tasks[i]->FOwned = false;
    for (auto& task : tasks) {
      if (!task) continue;
      if (task->FOwned)
        static_cast<void>(task.release());
      else
        task->FOwned = true;
    }
    throw;
  }
  for (auto& task : tasks) AppendItem(std::move(task));
}

void TTaskItems::Delete(int AID, bool ask) {
  auto found = std::find_if(FItems.begin(), FItems.end(),
                            [AID](PTaskItem item) { return item->Task()->FID == AID; });
  if (found != FItems.end()) Delete(**found, ask);
}

// Handlers may delete the task themselves meanwhile, or free the grid with every task; a task
// that is gone is left alone here. An entry lives exactly as long as its task.
void TTaskItems::Delete(TTaskItem& item, bool ask) {
  TTaskObject* task = item.Task();
  TWeakRef<TTaskObject> alive(task);
  TWeakRef<TSkedra> grid(&FGrid);
  if (ask && (!FGrid.DoBeforeDeleteTask(task) || alive.Expired())) return;
  if (!task->ConfirmDelete()) return;
  if (!FGrid.Unselect(task) || alive.Expired()) return;
  FGrid.DoDeleteTask(task);
  if (grid.Expired()) return;
  if (!alive.Expired()) {
    RemoveItem(&item);
    FreeItem(&item);
  }
  Arrange();
}

void TTaskItems::Clear() {
  if (TTaskItem* selected = FGrid.SelectedItem(); selected && !FGrid.Unselect(selected->Task()))
    return;
  FreeAllItems();
}

void TTaskItems::FreeAllItems() {
  std::vector<PTaskItem> items;
  items.swap(FItems);
  for (PTaskItem item : items) FreeItem(item);
}

// The dialog runs its own message loop, in which the task may have been deleted and the grid
// freed with this collection; nothing is touched then.
void TTaskItems::Update(TTaskItem& item) {
  if (!FGrid.InUserMode()) return;
  TTaskObject* task = item.Task();
  TWeakRef<TTaskObject> alive(task);
  if (!FGrid.DoBeforeUpdateTask(task) || alive.Expired()) return;
  if (!RunDialog([task] { return task->EditUpdate(); }) || alive.Expired()) return;
  ReleaseItemPoints(item);
  Arrange();
  FGrid.DoUpdateTask(task);
}

// The grid owns its tasks: a task that is still there means the grid and the entry are too.
void TTaskItems::Reschedule(TTaskItem& item, const TTaskTimes& times, bool resized) {
  TTaskObject* task = item.Task();
  TWeakRef<TTaskObject> alive(task);
  const bool agreed = resized ? FGrid.DoBeforeResizeTask(task, times.Start, times.Finish)
                              : FGrid.DoBeforeMoveTask(task, times.Start, times.Finish);
  if (!agreed || alive.Expired()) return;
  task->FStartDateTime = times.Start;
  task->FFinishDateTime = times.Finish;
  ReleaseItemPoints(item);
  Arrange();
  if (resized)
    FGrid.DoTaskResized(task);
  else
    FGrid.DoTaskMoved(task);
  if (!alive.Expired()) FGrid.DoUpdateTask(task);
}

void TTaskItems::ReleasePoints() {
  TInvalidationBatch batch(FGrid);
  for (PTaskItem item : FItems) ReleaseItemPoints(*item);
}

}  // namespace skx
