// The grid's accessible table: its children, their names, states and places, and the events of
// the task selection.
#include "SkedraComp/SkedraAccessible.h"

#include <algorithm>

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/FormatSettings.h"
#include "SkedraComp/MarkerLayout.h"
#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"

namespace skx {

namespace {

// The grid's name while its container gives it none.
const wchar_t* const GridName = L"Schedule";
const wchar_t* const UpdateActionName = L"Update...";

String LongDate(const TSkedra& grid, TDateTime value) {
  const TFormatSettings& settings = grid.FormatSettings();
  return FormatDateTime(settings.LongDateFormat, value, settings);
}

String ShortTime(const TSkedra& grid, TDateTime value) {
  const TFormatSettings& settings = grid.FormatSettings();
  return FormatDateTime(settings.ShortTimeFormat, value, settings);
}

void AppendPart(String& text, const String& part) {
  if (part.empty()) return;
  if (!text.empty()) text += L", ";
  text += part;
}

}  // namespace

// Before the grid's first layout its columns have no dates: it then shows no day.
TSkedraAccessible::TLayout TSkedraAccessible::Layout() const {
  TLayout layout;
  for (int col = FGrid.FixedCols(); col < FGrid.ColCount(); ++col) {
    try {
      layout.Days.push_back(DayOf(FGrid.ColumnDate(col)));
      layout.DayCols.push_back(col);
    } catch (const EConvertError&) {
      continue;
    }
  }
  layout.Rows = std::max(0, FGrid.RowCount() - FGrid.FixedRows());
  if (layout.Days.empty()) return layout;
  const auto [firstDay, lastDay] = std::minmax_element(layout.Days.begin(), layout.Days.end());
  TTaskItems& items = FGrid.TaskItems();
  for (int i = 0; i < items.Count(); ++i) {
    TTaskItem& item = items.Items(i);
    const TTaskObject& task = *item.Task();
    if (CanPlace(task) && DayOf(task.FStartDateTime) <= *lastDay &&
        DayOf(task.FFinishDateTime) >= *firstDay)
      layout.Tasks.push_back(&item);
  }
  std::stable_sort(layout.Tasks.begin(), layout.Tasks.end(), [](TTaskItem* a, TTaskItem* b) {
    return a->Task()->FStartDateTime < b->Task()->FStartDateTime;
  });
  return layout;
}

TSkedraAccessible::TElement TSkedraAccessible::Resolve(int element) const {
  const TLayout layout = Layout();
  const int days = static_cast<int>(layout.Days.size());
  const int tasks = static_cast<int>(layout.Tasks.size());
  int index = element - 1;
  if (element == 0) return {ekSelf, 0, 0, nullptr};
  if (index >= 0 && index < days) return {ekDay, layout.DayCols[index], 0, nullptr};
  index -= days;
  if (index >= 0 && index < tasks) return {ekTask, 0, 0, layout.Tasks[index]};
  index -= tasks;
  if (index >= 0 && index < layout.Rows) return {ekRow, 0, FGrid.FixedRows() + index, nullptr};
  RaiseListIndexError(element);
}

int TSkedraAccessible::ChildCount() const {
  const TLayout layout = Layout();
  return static_cast<int>(layout.Days.size() + layout.Tasks.size()) + layout.Rows;
}

int TSkedraAccessible::ChildOf(const TTaskItem* item) const {
  return item ? ChildOfTask(item->Task()) : 0;
}

int TSkedraAccessible::ChildOfTask(const TTaskObject* task) const {
  if (!task) return 0;
  const TLayout layout = Layout();
  auto found = std::find_if(layout.Tasks.begin(), layout.Tasks.end(),
                            [task](const TTaskItem* item) { return item->Task() == task; });
  if (found == layout.Tasks.end()) return 0;
  return static_cast<int>(layout.Days.size() + (found - layout.Tasks.begin())) + 1;
}

TAccessibleRole TSkedraAccessible::Role(int element) const {
  switch (Resolve(element).Kind) {
    case ekSelf: return arTable;
    case ekDay: return arColumnHeader;
    case ekTask: return arListItem;
    case ekRow: break;
  }
  return arRow;
}

String TSkedraAccessible::Name(int element) const {
  const TElement found = Resolve(element);
  switch (found.Kind) {
    case ekSelf:
      return FGrid.Name().empty() ? GridName : FGrid.Name();
    case ekDay:
      return LongDate(FGrid, FGrid.ColumnDate(found.Col));
    case ekTask:
      return TaskName(*found.Item->Task());
    case ekRow:
      break;
  }
  TDateTime start = 0;
  if (!FGrid.TryRowTime(found.Row, start)) return String();
  return TimeRange(start, start + FGrid.Settings().TimeScale / MinsPerDay, false);
}

// The finish is the start of the task's last slot; the name says where that slot ends.
String TSkedraAccessible::TaskName(const TTaskObject& task) const {
  TDateTime end = task.FFinishDateTime + FGrid.Settings().TimeScale / MinsPerDay;
  if (!IsDecodable(end)) end = task.FFinishDateTime;
  String name = task.AccessibleSubject();
  AppendPart(name, LongDate(FGrid, task.FStartDateTime));
  AppendPart(name, TimeRange(task.FStartDateTime, end, DayOf(end) != DayOf(task.FStartDateTime)));
  AppendPart(name, task.AccessibleDetails());
  return name;
}

String TSkedraAccessible::TimeRange(TDateTime start, TDateTime end, bool withEndDay) const {
  String range = ShortTime(FGrid, start) + L" to ";
  if (withEndDay) range += LongDate(FGrid, end) + L", ";
  return range + ShortTime(FGrid, end);
}

String TSkedraAccessible::Description(int element) const {
  if (element != 0) return String();
  const TLayout layout = Layout();
  if (layout.Days.empty()) return String();
  String first = LongDate(FGrid, FGrid.ColumnDate(layout.DayCols.front()));
  if (layout.Days.size() == 1) return first;
  return first + L" to " + LongDate(FGrid, FGrid.ColumnDate(layout.DayCols.back()));
}

String TSkedraAccessible::Value(int element) const {
  const TElement found = Resolve(element);
  if (found.Kind != ekRow || found.Row != FGrid.CurrentRow()) return String();
  return LongDate(FGrid, FGrid.ColumnDate(FGrid.CurrentCol()));
}

TAccessibleStates TSkedraAccessible::State(int element) const {
  const TElement found = Resolve(element);
  TAccessibleStates state;
  switch (found.Kind) {
    case ekSelf:
      state.Include(asFocusable);
      if (FGrid.Focused()) state.Include(asFocused);
      return state;
    case ekTask:
      state = {asSelectable, asFocusable};
      if (FGrid.SelectedItem() == found.Item) {
        state.Include(asSelected);
        if (FGrid.Focused()) state.Include(asFocused);
      }
      break;
    case ekRow: {
      state = {asReadOnly, asFocusable};
      const TCellRect selection = FGrid.Selection();
      if (found.Row >= selection.Top && found.Row <= selection.Bottom) state.Include(asSelected);
      if (FocusedElement() == element) state.Include(asFocused);
      break;
    }
    case ekDay:
      state.Include(asReadOnly);
      break;
  }
  // A marker or cell that is not shown has no place; one scrolled out of view has one outside.
  const TRect bounds = Bounds(element);
  if (bounds.IsEmpty())
    state = state + TAccessibleStates{asInvisible, asOffscreen};
  else if (!bounds.Intersects(FGrid.ClientRect()))
    state.Include(asOffscreen);
  return state;
}

TRect TSkedraAccessible::MarkerBounds(const TTaskItem& item) {
  const TPointControl* first = nullptr;
  for (const TPointControl* point : item.Points())
    if (point->Visible() && (!first || point->Col() < first->Col())) first = point;
  return first ? first->BoundsRect() : TRect{};
}

TRect TSkedraAccessible::Bounds(int element) const {
  const TElement found = Resolve(element);
  switch (found.Kind) {
    case ekSelf:
      return FGrid.ClientRect();
    case ekDay:
      return FGrid.CellRect(found.Col, 0);
    case ekTask:
      return MarkerBounds(*found.Item);
    case ekRow:
      break;
  }
  // A time slot spans its labels and every day column.
  TRect row;
  for (int col = 0; col < FGrid.ColCount(); ++col) row = UnionRect(row, FGrid.CellRect(col, found.Row));
  return row;
}

// Markers lie over the cells, so a task is found before the slot under it.
int TSkedraAccessible::ElementAt(TPoint point) const {
  const TLayout layout = Layout();
  const int days = static_cast<int>(layout.Days.size());
  for (size_t i = 0; i < layout.Tasks.size(); ++i)
    if (MarkerBounds(*layout.Tasks[i]).Contains(point)) return days + static_cast<int>(i) + 1;
  const TCellCoord cell = FGrid.MouseToCell(point.X, point.Y);
  if (cell.Row < 0 || cell.Col < 0) return 0;
  if (cell.Row >= FGrid.FixedRows())
    return days + static_cast<int>(layout.Tasks.size()) + cell.Row - FGrid.FixedRows() + 1;
  auto col = std::find(layout.DayCols.begin(), layout.DayCols.end(), cell.Col);
  return col == layout.DayCols.end() ? 0 : static_cast<int>(col - layout.DayCols.begin()) + 1;
}

int TSkedraAccessible::FocusedElement() const {
  if (!FGrid.Focused()) return -1;
  const TLayout layout = Layout();
  const int days = static_cast<int>(layout.Days.size());
  auto task = std::find(layout.Tasks.begin(), layout.Tasks.end(), FGrid.SelectedItem());
  if (task != layout.Tasks.end()) return days + static_cast<int>(task - layout.Tasks.begin()) + 1;
  const int row = FGrid.CurrentRow() - FGrid.FixedRows();
  if (row < 0 || row >= layout.Rows) return 0;
  return days + static_cast<int>(layout.Tasks.size()) + row + 1;
}

int TSkedraAccessible::SelectedChild() const { return ChildOf(FGrid.SelectedItem()); }

String TSkedraAccessible::DefaultActionName(int element) const {
  return Resolve(element).Kind == ekTask ? String(UpdateActionName) : String();
}

// The command finds the task's entry again when it runs: by then the task may be gone.
std::function<void()> TSkedraAccessible::DefaultAction(int element) {
  const TElement found = Resolve(element);
  if (found.Kind != ekTask) return nullptr;
  TWeakRef<TSkedra> grid(&FGrid);
  TWeakRef<TTaskObject> task(found.Item->Task());
  return [grid, task] {
    TSkedra* live = grid.Get();
    if (!live || !task.Get()) return;
    TTaskItems& items = live->TaskItems();
    for (int i = 0; i < items.Count(); ++i) {
      if (items.Items(i).Task() != task.Get()) continue;
      items.Update(items.Items(i));
      return;
    }
  };
}

// The events are raised later, from the window's message dispatch: a listener in this thread
// may call back into the grid, which the code that changed the selection does not expect. They
// name the children as they are then, once the change is complete.
void TSkedraAccessible::Post(std::function<void(const TWeakRef<TSkedra>&)> raise) {
  if (FGrid.IsDestroying() || !FGrid.HandleAllocated()) return;
  TWeakRef<TSkedra> grid(&FGrid);
  FGrid.Peer()->PostCall([grid, raise] {
    if (grid.Get()) raise(grid);
  });
}

// False once a listener has freed the grid, and this with it.
bool TSkedraAccessible::Notify(const TWeakRef<TSkedra>& grid, TAccessibleEvent event, int element) {
  TSkedra* live = grid.Get();
  if (!live) return false;
  live->NotifyAccessibleEvent(event, element);
  return grid.Get() != nullptr;
}

void TSkedraAccessible::SelectionChanged(const TTaskItem* previous, const TTaskItem* current) {
  const bool selected = current != nullptr;
  TWeakRef<TTaskObject> unselected(previous && !current ? previous->Task() : nullptr);
  Post([this, selected, unselected](const TWeakRef<TSkedra>& grid) {
    if (selected) {
      const int child = SelectedChild();
      if (child == 0) return;
      if (FocusedElement() >= 0 && !Notify(grid, aeFocus, child)) return;
      Notify(grid, aeSelection, child);
      return;
    }
    // A task deleted meanwhile is no child any more, and needs no word of its selection.
    const int child = ChildOfTask(unselected.Get());
    if (child != 0 && !Notify(grid, aeSelectionRemove, child)) return;
    if (FocusedElement() >= 0) Notify(grid, aeFocus, FocusedElement());
  });
}

void TSkedraAccessible::FocusMoved() {
  Post([this](const TWeakRef<TSkedra>& grid) {
    if (FocusedElement() >= 0) Notify(grid, aeFocus, FocusedElement());
  });
}

}  // namespace skx
