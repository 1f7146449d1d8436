// What the schedule grid shows assistive technology: a table of the shown days and time slots,
// with the tasks over them as items.
#pragma once

#include <functional>
#include <vector>

#include "Framework/Core/Accessibility.h"
#include "SkedraComp/TaskItems.h"

namespace skx {

class TSkedra;

// The grid's children, in order: one column header per shown day, the tasks that touch a shown
// day by start (then in the order of appending), then one row per time slot. The focus is on
// the selected task, or else on the time slot of the current cell.
class TSkedraAccessible : public TAccessibleModel {
 public:
  explicit TSkedraAccessible(TSkedra& grid) : FGrid(grid) {}

  int ChildCount() const override;
  TAccessibleRole Role(int element) const override;
  String Name(int element) const override;
  String Description(int element) const override;
  // The day of the current cell, for the time slot that holds it.
  String Value(int element) const override;
  TAccessibleStates State(int element) const override;
  TRect Bounds(int element) const override;
  int ElementAt(TPoint point) const override;
  int FocusedElement() const override;
  int SelectedChild() const override;
  String DefaultActionName(int element) const override;
  // "Update..." of a task, as its marker's menu runs it.
  std::function<void()> DefaultAction(int element) override;

  // The child of the entry's task; 0 when the task is on none of the shown days.
  int ChildOf(const TTaskItem* item) const;
  // The entries of the task children, in their order.
  std::vector<TTaskItem*> ShownItems() const { return Layout().Tasks; }
  // Raises the focus and selection events of a change from one selected entry to another
  // (either may be null), once the code that changed it has returned.
  void SelectionChanged(const TTaskItem* previous, const TTaskItem* current);
  // Raises the focus event of the element that has the focus then, likewise.
  void FocusMoved();

 private:
  enum TKind { ekSelf, ekDay, ekTask, ekRow };
  struct TElement {
    TKind Kind;
    int Col;  // of a day
    int Row;  // of a time slot
    TTaskItem* Item;
  };
  struct TLayout {
    std::vector<int> DayCols;
    std::vector<int> Days;
    std::vector<TTaskItem*> Tasks;
    int Rows = 0;
  };
  TLayout Layout() const;
  TElement Resolve(int element) const;
  String TaskName(const TTaskObject& task) const;
  String TimeRange(TDateTime start, TDateTime end, bool withEndDay) const;
  // The task's place: the rectangle of its first visible marker.
  static TRect MarkerBounds(const TTaskItem& item);
  int ChildOfTask(const TTaskObject* task) const;
  void Post(std::function<void(const TWeakRef<TSkedra>&)> raise);
  static bool Notify(const TWeakRef<TSkedra>& grid, TAccessibleEvent event, int element);

  TSkedra& FGrid;
};

}  // namespace skx
