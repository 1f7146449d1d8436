// The schedule grid: rows of time slots, one column per shown day, tasks laid over the cells.
#include "SkedraComp/Skedra.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/FormatSettings.h"
#include "SkedraComp/SkedraAccessible.h"
#include "SkedraComp/TaskDrag.h"

namespace skx {

namespace {

const TGridOptions LayoutOptions{goFixedVertLine, goFixedHorzLine, goVertLine,
                                 goHorzLine,      goRangeSelect,   goDrawFocusSelected};

constexpr int MinutesPerDay = 1440;
constexpr int NavigationButtonSize = 13;
// Sizes for 96 pixels per inch. At another density each cell edge lies where the edge of this
// layout scales to, so that rows and columns keep their places however single sizes round.
constexpr int BaseRowHeight = 16;
constexpr int BaseColWidth = 25;
constexpr int BaseLineWidth = 1;
constexpr int BaseRowPitch = BaseRowHeight + BaseLineWidth;

bool IsView(TSkedraType type) { return type == skDaily || type == skWeekly; }

// The days the buttons move the view by.
int ButtonStep(TUpdateSkedraMode mode, bool weekly) { return (mode == umNext ? 1 : -1) * (weekly ? 7 : 1); }

// Raises a before-event; true when no handler cancelled the change. The answer is read from a
// local: the handler may free the grid.
template <typename Handler, typename... Args>
bool NotCancelled(const Handler& handler, Args&&... args) {
  bool cancel = false;
  if (handler) CallHandler(handler, std::forward<Args>(args)..., cancel);
  return !cancel;
}

}  // namespace

TSkedra::TSkedra(TComponent* AOwner, const TClock& clock) : TStringGrid(AOwner), FClock(clock) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                   csReplicatable});
  FActiveDate = clock.Today();
  FTaskDrag = std::make_unique<TTaskDrag>(*this);
  FTaskItems = std::make_unique<TTaskItems>(*this);
  FAccessible = std::make_unique<TSkedraAccessible>(*this);
  FSettings.WeekStart = dwMon;
  FSettings.WeekEnd = dwFri;
  FSettings.DayStart = EncodeTime(8, 0, 0, 0);
  FSettings.DayEnd = EncodeTime(17, 30, 0, 0);
  FSettings.TimeScale = 15;
  SetStoreCellSizes(false);
  SetColor(clSilver);
}

// The clear raises the unselect event while the grid and its collection are still whole, since
// the handler may read the tasks, move the view or change the settings. A batch left open ends
// without its recalculation.
TSkedra::~TSkedra() {
  FPaintBatch.reset();
  FTaskItems->Dispose();
}

void TSkedra::Loaded() {
  TStringGrid::Loaded();
  if (IsDesigning()) return;
  // The menu builder clears the menu's items, so it only ever works on a menu of the grid's own.
  TPopupMenu* menu = PopupMenu();
  if (!menu || menu->Owner() != this) {
    menu = new TPopupMenu(this);
    SetPopupMenu(menu);
  }
  menu->OnPopup = [this](TComponent* Sender) { PopupMenuPopup(Sender); };
  if (!FPrevButton)
    FPrevButton = CreateNavigationButton(L"PREVBUTTON",
                                         [this](TComponent* Sender) { PrevButtonClick(Sender); });
  if (!FNextButton)
    FNextButton = CreateNavigationButton(L"NEXTBUTTON",
                                         [this](TComponent* Sender) { NextButtonClick(Sender); });
  PlaceNavigationButtons();
}

void TSkedra::PlaceNavigationButtons() {
  const int size = Scale().Of(NavigationButtonSize);
  if (FPrevButton) FPrevButton->SetBounds(0, 0, size, size);
  if (FNextButton) FNextButton->SetBounds(ClientWidth() - size, 0, size, size);
}

// A grid not yet laid out takes the scale with its first layout.
void TSkedra::ScaleChanged() {
  TStringGrid::ScaleChanged();
  PlaceNavigationButtons();
  if (!FLaidOut || !IsView(FSkedraType)) return;
  ScaleDefaultSizes();
  FitCellsToScale();
  UpdateSkedra(umResize);
}

void TSkedra::ScaleDefaultSizes() {
  const TScale scale = Scale();
  SetGridLineWidth(scale.Of(BaseLineWidth));
  SetDefaultRowHeight(scale.Of(BaseRowHeight));
  SetDefaultColWidth(scale.Of(BaseColWidth));
}

// The day columns are sized from the client width (ResizeDayColumns).
void TSkedra::FitCellsToScale() {
  const TScale scale = Scale();
  const int line = GridLineWidth();
  for (int row = 0; row < RowCount(); ++row) {
    const int height = scale.Span(std::int64_t{row} * BaseRowPitch, BaseRowPitch) - line;
    if (height != RowHeights(row)) SetRowHeights(row, height);
  }
  const int colPitch = BaseColWidth + BaseLineWidth;
  for (int col = 0; col < std::min(FixedCols(), ColCount()); ++col) {
    const int width = scale.Span(std::int64_t{col} * colPitch, colPitch) - line;
    if (width != ColWidths(col)) SetColWidths(col, width);
  }
}

TSpeedButton* TSkedra::CreateNavigationButton(const wchar_t* glyphName, TNotifyEvent onClick) {
  auto* button = new TSpeedButton(this);
  button->SetParent(this);
  button->SetGlyphName(glyphName);
  button->OnClick = std::move(onClick);
  return button;
}

void TSkedra::Notification(TComponent* AComponent, TOperation operation) {
  TStringGrid::Notification(AComponent, operation);
  if (operation != opRemove) return;
  if (AComponent == FPrevButton) FPrevButton = nullptr;
  if (AComponent == FNextButton) FNextButton = nullptr;
}

void TSkedra::CreateParams(TCreateParams& params) const {
  TStringGrid::CreateParams(params);
  params.Style |= wsClipChildren;
}

void TSkedra::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TStringGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
  ClientResized();
}

void TSkedra::FrameChanged() {
  TStringGrid::FrameChanged();
  ClientResized();
}

void TSkedra::HandleCreated() {
  TStringGrid::HandleCreated();
  FShownTime = FClock.Now();
  UpdateClockTimer();
}

void TSkedra::ClientResized() {
  if (!HandleAllocated()) return;
  UpdateSkedra(umResize);
  if (FNextButton) FNextButton->SetLeft(ClientWidth() - FNextButton->Width());
}

// Every handler may free the grid: only the weak reference is read after each.
void TSkedra::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  FTaskDrag->Cancel();
  TWeakRef<TSkedra> alive(this);
  const bool onCells = button == mbLeft && IsScrollingCell(MouseToCell(x, y));
  const bool second = onCells && shift.Contains(ssDouble);
  TStringGrid::MouseDown(button, shift, x, y);
  if (alive.Expired()) return;
  FClickPending = onCells && !second;
  if (FSelectedItem && !Unselect(FSelectedItem->Task())) return;
  if (!second) return;
  // The dialog takes the mouse: the drag selection that the press began ends here.
  EndMouseSelect();
  DoDblClick();
  if (!alive.Expired()) FTaskItems->NewTask();
}

void TSkedra::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool click = button == mbLeft && FClickPending && ClientRect().Contains(TPoint{x, y});
  if (button == mbLeft) FClickPending = false;
  TWeakRef<TSkedra> alive(this);
  TStringGrid::MouseUp(button, shift, x, y);
  if (click && !alive.Expired()) DoClick();
}

void TSkedra::KeyDown(int& key, TShiftState shift) {
  if (key == vkEscape && FTaskDrag->Cancel()) {
    key = 0;
    return;
  }
  switch (key) {
    case vkLeft:
    case vkRight:
      if (!shift.Contains(ssCtrl)) break;
      if (key == vkLeft)
        PrevButtonClick(this);
      else
        NextButtonClick(this);
      key = 0;
      return;
    case vkReturn:
      key = 0;
      if (FSelectedItem)
        FTaskItems->Update(*FSelectedItem);
      else
        FTaskItems->NewTask();
      return;
    case vkDelete:
      if (!FSelectedItem) break;
      key = 0;
      FTaskItems->Delete(*FSelectedItem, true);
      return;
    case vkTab:
      if (TTaskItem* next = AdjacentItem(!shift.Contains(ssShift))) {
        key = 0;
        SelectAdjacentItem(*next);
      }
      return;
    default:
      break;
  }
  TStringGrid::KeyDown(key, shift);
}

bool TSkedra::WantsKey(int key, TShiftState shift) const {
  switch (key) {
    case vkEscape: return FTaskDrag->Dragging();
    case vkReturn: return true;
    case vkDelete: return FSelectedItem != nullptr;
    case vkTab: return AdjacentItem(!shift.Contains(ssShift)) != nullptr;
    default: return TStringGrid::WantsKey(key, shift);
  }
}

void TSkedra::KeyPress(wchar_t& key) {
  TStringGrid::KeyPress(key);
  DoKeyPress(key);
}

TTaskItem* TSkedra::AdjacentItem(bool forward) const {
  std::vector<TTaskItem*> items = FAccessible->ShownItems();
  // Shown by start, then in the order of the collection: a stable sort keeps that order among
  // tasks of equal start and finish.
  std::stable_sort(items.begin(), items.end(), [](const TTaskItem* a, const TTaskItem* b) {
    return a->Task()->FStartDateTime < b->Task()->FStartDateTime ||
           (a->Task()->FStartDateTime == b->Task()->FStartDateTime &&
            a->Task()->FFinishDateTime < b->Task()->FFinishDateTime);
  });
  if (items.empty()) return nullptr;
  auto selected = std::find(items.begin(), items.end(), FSelectedItem);
  if (selected == items.end()) return forward ? items.front() : items.back();
  if (forward) return std::next(selected) == items.end() ? nullptr : *std::next(selected);
  return selected == items.begin() ? nullptr : *std::prev(selected);
}

void TSkedra::SelectAdjacentItem(TTaskItem& item) {
  TWeakRef<TSkedra> alive(this);
  TWeakRef<TTaskObject> task(item.Task());
  Select(item);
  // An entry lives exactly as long as its task.
  if (!alive.Expired() && !task.Expired()) ScrollToItem(item);
}

void TSkedra::ScrollToItem(const TTaskItem& item) {
  TCellCoord cell = DateTimeToCell(item.Task()->FStartDateTime);
  // A task that starts before the shown days shows from the top of the first.
  if (cell.Col < 0) cell = TCellCoord{FirstDayColumn, FixedRows()};
  ScrollIntoView(cell);
}

void TSkedra::Select(TTaskItem& item) {
  TWeakRef<TSkedra> alive(this);
  if (FSelectedItem) FTaskItems->InvalidateItem(*FSelectedItem);
  SelectItem(&item);
  DoSelectTask(item.Task());
  if (!alive.Expired() && FSelectedItem) FTaskItems->InvalidateItem(*FSelectedItem);
}

// The handler may have changed the selection, freed the entry or freed the grid.
bool TSkedra::Unselect(TTaskObject* task) {
  TWeakRef<TSkedra> alive(this);
  DoUnselectTask(task);
  if (alive.Expired()) return false;
  if (FSelectedItem) FTaskItems->InvalidateItem(*FSelectedItem);
  SelectItem(nullptr);
  return true;
}

void TSkedra::ForgetItem(const TTaskItem& item) {
  if (FSelectedItem == &item) SelectItem(nullptr);
}

void TSkedra::MouseCaptureLost() {
  TStringGrid::MouseCaptureLost();
  FTaskDrag->Cancel();
}

void TSkedra::PaintOverControls(TCanvas& canvas) { FTaskDrag->Paint(canvas); }

void TSkedra::SetAllowDragTasks(bool value) {
  FAllowDragTasks = value;
  if (!value) FTaskDrag->Cancel();
}

void TSkedra::SelectItem(TTaskItem* item) {
  TTaskItem* previous = FSelectedItem;
  FSelectedItem = item;
  if (item || previous) FAccessible->SelectionChanged(previous, item);
}

TAccessibleModel* TSkedra::Accessible() { return FAccessible.get(); }

void TSkedra::CurrentCellMoved() {
  TStringGrid::CurrentCellMoved();
  if (!FSelectedItem) FAccessible->FocusMoved();
}

void TSkedra::SetSkedraType(TSkedraType value) {
  FSkedraType = value;
  FTaskItems->ReleasePoints();
  UpdateSkedra(umLayout);
}

void TSkedra::SetActiveDate(TDateTime value) {
  // Every day of the week around the date must have a heading, or the grid could not be shown.
  if (!IsDecodable(value - 7) || !IsDecodable(value + 7)) RaiseRangeError();
  FActiveDate = value;
  if (FSkedraType == skWeekly) AlignToWeekStart();
  FTaskItems->ReleasePoints();
  UpdateSkedra(umRefresh);
}

void TSkedra::SetSettings(const TSkedraSettings& value) {
  if (value.WeekStart > dwSun || value.WeekEnd > dwSun) RaiseRangeError();
  if (value.TimeScale == 0) RaiseDivByZero();
  FSettings = value;
  FTaskItems->ReleasePoints();
  UpdateSkedra(umRefresh);
  Invalidate();
}

void TSkedra::UpdateSkedra(TUpdateSkedraMode mode) {
  if (FUpdateCount > 0)
    DeferUpdate(mode);
  else
    RunUpdate(mode, {mode});
}

// Nothing is touched once the handler has freed the grid.
void TSkedra::RunUpdate(TUpdateSkedraMode mode, TSet<TUpdateSkedraMode> steps) {
  TWeakRef<TSkedra> alive(this);
  if (OnUpdateSkedra) CallHandler(OnUpdateSkedra, this, mode);
  if (alive.Expired()) return;
  if (IsView(FSkedraType))
    for (TUpdateSkedraMode step : {umPrevious, umNext, umLayout, umRefresh, umResize})
      if (steps.Contains(step)) RecalculateView(step, FSkedraType == skWeekly);
  if (HandleAllocated()) FTaskItems->Arrange();
}

// The buttons move the active date at once, so that it reads right inside the batch; the
// refresh at its end brings the headings. The weekly view's date stays on the week's start day,
// which that refresh keeps it on.
void TSkedra::DeferUpdate(TUpdateSkedraMode mode) {
  if (mode == umPrevious || mode == umNext) {
    if (IsView(FSkedraType)) FActiveDate += ButtonStep(mode, FSkedraType == skWeekly);
    mode = umRefresh;
  }
  FPendingUpdates.Include(mode);
}

void TSkedra::BeginUpdate() {
  if (FUpdateCount == 0) FPaintBatch = std::make_unique<TInvalidationBatch>(*this);
  ++FUpdateCount;
}

// The batch is over before its work starts: a handler that fails, or frees the grid, leaves no
// batch open, and one that opens a batch of its own keeps it.
void TSkedra::EndUpdate() {
  if (FUpdateCount == 0) throw EInvalidOperation(L"EndUpdate without BeginUpdate");
  if (--FUpdateCount > 0) return;
  TSet<TUpdateSkedraMode> pending = FPendingUpdates;
  FPendingUpdates = {};
  TWeakRef<TSkedra> alive(this);
  auto endPainting = [&] {
    if (TSkedra* grid = alive.Get(); grid && grid->FUpdateCount == 0) grid->FPaintBatch.reset();
  };
  try {
    FinishUpdate(pending);
  } catch (...) {
    endPainting();
    throw;
  }
  endPainting();
}

// A layout covers every other step; a refresh with a resize does both.
void TSkedra::FinishUpdate(TSet<TUpdateSkedraMode> pending) {
  TWeakRef<TSkedra> alive(this);
  if (pending.Contains(umLayout))
    RunUpdate(umLayout, {umLayout});
  else if (!pending.Empty())
    RunUpdate(pending.Contains(umRefresh) ? umRefresh : umResize, pending);
  else if (HandleAllocated())
    FTaskItems->Arrange();
  if (!alive.Expired()) Invalidate();
}

void TSkedra::Refresh() {
  if (HandleAllocated()) FTaskItems->Arrange();
  Invalidate();
}

void TSkedra::RecalculateView(TUpdateSkedraMode mode, bool weekly) {
  switch (mode) {
    case umPrevious:
    case umNext:
      FActiveDate += ButtonStep(mode, weekly);
      FillDayHeadings();
      break;
    case umLayout:
      if (weekly) AlignToWeekStart();
      ScaleDefaultSizes();
      SetOptions(LayoutOptions);
      SetColCount(weekly ? WeekColumnCount() : FirstDayColumn + 1);
      SetFixedCols(FirstDayColumn);
      SetFixedRows(1);
      SetTimeRows();
      FitCellsToScale();
      FLaidOut = true;
      FillTimeLabels();
      FillDayHeadings();
      ResizeDayColumns();
      break;
    case umRefresh:
      if (weekly) {
        AlignToWeekStart();
        SetColCount(WeekColumnCount());
      }
      SetTimeRows();
      FitCellsToScale();
      FillTimeLabels();
      FillDayHeadings();
      if (weekly) ResizeDayColumns();
      break;
    case umResize:
      ResizeDayColumns();
      break;
  }
}

void TSkedra::SetTimeRows() {
  SetRowCount(CheckedAdd(CheckedDiv(MinutesPerDay, FSettings.TimeScale), FixedRows()));
}

void TSkedra::AlignToWeekStart() {
  FActiveDate -= WeekDayOf(FActiveDate) - FSettings.WeekStart;
}

int TSkedra::WeekColumnCount() const {
  int count = FirstDayColumn;
  for (int day = FSettings.WeekStart; day != FSettings.WeekEnd;
       day = day == dwSun ? dwMon : day + 1)
    ++count;
  return count + 1;
}

// Each row is labelled with its own start, k x TimeScale minutes after midnight, so that the
// labels agree with the row count for every scale, not only for divisors of an hour.
void TSkedra::FillTimeLabels() {
  FShownTimeScale = FSettings.TimeScale;
  for (int row = FixedRows(); row < RowCount(); ++row) {
    int minutes = (row - FixedRows()) * FSettings.TimeScale;
    int minute = minutes % 60;
    SetCellText(0, row, std::to_wstring(minutes / 60));
    SetCellText(1, row, minute == 0 ? String(L":00") : L":" + std::to_wstring(minute));
  }
}

void TSkedra::FillDayHeadings() {
  FShownFirstDay = SplitDayTime(FActiveDate).Day;
  FDaysShown = true;
  for (int col = FirstDayColumn; col < ColCount(); ++col) {
    TDateTime day = FActiveDate + (col - FirstDayColumn);
    SetCellText(col, 0, DateToStr(day, FormatSettings()) + L" " + DayNameOf(day));
  }
}

void TSkedra::FormatSettingsChanged() {
  if (!FDaysShown) return;
  FillDayHeadings();
  Invalidate();
}

void TSkedra::ResizeDayColumns() {
  if (IsDesigning()) return;
  // The lines take what the base layout's lines scale to, so that the day columns end where the
  // base ones scale to; the last line may stand beyond the client area, no more.
  const int lines = std::max(Scale().Of(CheckedMul(ColCount(), BaseLineWidth)),
                             CheckedMul(ColCount() - 1, GridLineWidth()));
  int width = CheckedSub(CheckedSub(CheckedSub(ClientWidth(), ColWidths(0)), ColWidths(1)), lines);
  width = std::max(width, 0);
  if (FSkedraType == skDaily) {
    SetColWidths(FirstDayColumn, width);
    return;
  }
  int columnWidth = CheckedDiv(width, ColCount() - FirstDayColumn);
  for (int col = FirstDayColumn; col < ColCount(); ++col) SetColWidths(col, columnWidth);
}

TDateTime TSkedra::RowTime(int ARow) const {
  TDateTime value = 0;
  if (!TryRowTime(ARow, value)) RaiseInvalidTime(String());
  return value;
}

bool TSkedra::TryRowTime(int ARow, TDateTime& Value) const {
  if (ARow < FixedRows() || ARow >= RowCount() || FShownTimeScale <= 0) return false;
  const std::int64_t minutes = std::int64_t{ARow - FixedRows()} * FShownTimeScale;
  return minutes < MinutesPerDay &&
         TryEncodeTime(static_cast<int>(minutes / 60), static_cast<int>(minutes % 60), 0, 0, Value);
}

TDateTime TSkedra::ColumnDate(int ACol) const {
  TDateTime value = 0;
  if (!TryColumnDate(ACol, value)) RaiseInvalidDate(String());
  return value;
}

bool TSkedra::TryColumnDate(int ACol, TDateTime& Value) const {
  if (!FDaysShown || ACol < FirstDayColumn || ACol >= ColCount()) return false;
  Value = JoinDayTime(TDayTime{FShownFirstDay + (ACol - FirstDayColumn), 0});
  return true;
}

TDateTime TSkedra::CellToDateTime(int ACol, int ARow) const {
  return ColumnDate(ACol) + RowTime(ARow);
}

TCellCoord TSkedra::DateTimeToCell(TDateTime value) const {
  const TDayTime split = SplitDayTime(value);
  TCellCoord cell;
  cell.Row = SlotOfTime(split.MSec, DaySlots()) + FixedRows();
  cell.Col = CheckedAdd(CheckedSub(split.Day, SplitDayTime(FActiveDate).Day), FirstDayColumn);
  if (cell.Col < FirstDayColumn || cell.Col >= ColCount()) cell.Col = -1;
  return cell;
}

TDayOfWeek TSkedra::WeekDayOf(TDateTime value) {
  int day = DayOfWeek(value) - 2;
  return static_cast<TDayOfWeek>(day < 0 ? dwSun : day);
}

String TSkedra::DayNameOf(TDateTime value) {
  static const wchar_t* const DayNames[7] = {L"Sun", L"Mon", L"Tue", L"Wed",
                                             L"Thu", L"Fri", L"Sat"};
  return DayNames[DayOfWeek(value) - 1];
}

std::unique_ptr<TTaskObject> TSkedra::CreateTask() {
  if (!OnCreateTask) throw Exception(L"The event \"OnCreateTask\" is not determined");
  return CallHandler(OnCreateTask, this);
}

void TSkedra::DoSelectTask(TTaskObject* task) {
  if (OnSelectTask) CallHandler(OnSelectTask, this, task);
}

// An owner marks the grid as being destroyed first; the task it frees then is no news to it.
void TSkedra::DoUnselectTask(TTaskObject* task) {
  if (OnUnselectTask && !IsDestroying()) CallHandler(OnUnselectTask, this, task);
}

void TSkedra::DoAppendTask(TTaskObject* task) {
  if (OnAppendTask) CallHandler(OnAppendTask, this, task);
}

void TSkedra::DoUpdateTask(TTaskObject* task) {
  if (OnUpdateTask) CallHandler(OnUpdateTask, this, task);
}

void TSkedra::DoDeleteTask(TTaskObject* task) {
  if (OnDeleteTask) CallHandler(OnDeleteTask, this, task);
}

bool TSkedra::DoBeforeDeleteTask(TTaskObject* task) {
  return NotCancelled(OnBeforeDeleteTask, this, task);
}

bool TSkedra::DoBeforeUpdateTask(TTaskObject* task) {
  return NotCancelled(OnBeforeUpdateTask, this, task);
}

void TSkedra::DoClick() {
  if (OnClick) CallHandler(OnClick, this);
}

void TSkedra::DoDblClick() {
  if (OnDblClick) CallHandler(OnDblClick, this);
}

void TSkedra::DoKeyPress(wchar_t& key) {
  if (OnKeyPress) CallHandler(OnKeyPress, this, key);
}

bool TSkedra::DoBeforeMoveTask(TTaskObject* task, TDateTime newStart, TDateTime newFinish) {
  return NotCancelled(OnBeforeMoveTask, this, task, newStart, newFinish);
}

bool TSkedra::DoBeforeResizeTask(TTaskObject* task, TDateTime newStart, TDateTime newFinish) {
  return NotCancelled(OnBeforeResizeTask, this, task, newStart, newFinish);
}

void TSkedra::DoTaskMoved(TTaskObject* task) {
  if (OnTaskMoved) CallHandler(OnTaskMoved, this, task);
}

void TSkedra::DoTaskResized(TTaskObject* task) {
  if (OnTaskResized) CallHandler(OnTaskResized, this, task);
}

void TSkedra::PrevButtonClick(TComponent*) {
  FTaskItems->ReleasePoints();
  UpdateSkedra(umPrevious);
}

void TSkedra::NextButtonClick(TComponent*) {
  FTaskItems->ReleasePoints();
  UpdateSkedra(umNext);
}

void TSkedra::PopupMenuPopup(TComponent*) {
  PopupMenu()->Clear();
  AddMenuItem(L"New task...", 1);
}

void TSkedra::AddMenuItem(const String& caption, int tag) {
  NewMenuItem(*PopupMenu(), caption, tag, [this](TComponent* Sender) { MenuItemClick(Sender); });
}

void TSkedra::MenuItemClick(TComponent* Sender) {
  if (Sender->Tag() == 1) FTaskItems->NewTask();
}

void TSkedra::TopLeftChanged() {
  TStringGrid::TopLeftChanged();
  FTaskItems->Arrange();
}

}  // namespace skx
