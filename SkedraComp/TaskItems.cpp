// The grid's task collection: entries that own a task and its marker controls.
#include "SkedraComp/TaskItems.h"

#include "Framework/Core/Exceptions.h"
#include "SkedraComp/Skedra.h"

namespace skx {

TTaskItems::~TTaskItems() { Clear(); }

TTaskItem& TTaskItems::Items(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return *FItems[index];
}

void TTaskItems::NewTask() {
  auto item = std::make_unique<TTaskItem>();
  TCellRect cells = FGrid.Selection();
  item->Task = FGrid.CreateTask();
  if (!item->Task) throw EInvalidOperation(L"The event \"OnCreateTask\" returned no task");
  TTaskObject& task = *item->Task;
  task.FStartDateTime = FGrid.CellToDateTime(cells.Left, cells.Top);
  task.FFinishDateTime = FGrid.CellToDateTime(cells.Right, cells.Bottom);
  if (!task.EditAppend()) return;
  FItems.push_back(std::move(item));
  try {
    Arrange();
    FGrid.DoAppendTask(&task);
  } catch (...) {
    FItems.pop_back();
    throw;
  }
}

void TTaskItems::Add(std::unique_ptr<TTaskObject> task) {
  auto item = std::make_unique<TTaskItem>();
  item->Task = std::move(task);
  FItems.push_back(std::move(item));
}

void TTaskItems::Clear() {
  if (TTaskItem* selected = FGrid.FSelectedItem) {
    FGrid.DoUnselectTask(selected->Task.get());
    FGrid.FSelectedItem = nullptr;
  }
  FItems.clear();
}

void TTaskItems::Arrange() { ClearMarks(); }

void TTaskItems::ClearMarks() {
  for (auto& item : FItems) item->Marked = false;
}

void TTaskItems::ReleasePoints() {
  for (auto& item : FItems) ReleaseItemPoints(*item);
}

void TTaskItems::ReleaseItemPoints(TTaskItem& item) { item.ReleasePoints(); }

void TTaskItems::InvalidateItem(TTaskItem& item) {
  for (TControl* point : item.Points) point->Invalidate();
}

}  // namespace skx
