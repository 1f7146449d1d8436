// The schedule grid: rows of time slots, one column per shown day, tasks laid over the cells.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Framework/Core/Buttons.h"
#include "Framework/Core/DateTime.h"
#include "Framework/Core/StringGrid.h"
#include "Framework/Core/Menus.h"
#include "SkedraComp/DragTimes.h"
#include "SkedraComp/TaskItems.h"
#include "SkedraComp/TaskObject.h"

namespace skx {

// The automation property refuses values outside the constants; the grid stores any value, and
// for one that names no view it raises the update event but lays nothing out.
enum TSkedraType : std::uint8_t { skDaily = 0, skWeekly = 1 };
enum TDayOfWeek : std::uint8_t { dwMon, dwTue, dwWed, dwThu, dwFri, dwSat, dwSun };
enum TUpdateSkedraMode : std::uint8_t { umPrevious, umNext, umLayout, umRefresh, umResize };

struct TSkedraSettings {
  TDayOfWeek WeekStart = dwMon;
  TDayOfWeek WeekEnd = dwFri;
  TDateTime DayStart = 0.0;  // time of day alone
  TDateTime DayEnd = 0.0;
  std::uint8_t TimeScale = 15;  // minutes per row
};

struct TPaintInfo;
class TStrokeBuffer;
class TSkedraAccessible;
class TTaskDrag;

using TOnUpdateEvent = std::function<void(TComponent* Sender, TUpdateSkedraMode Mode)>;
using TOnCreateTaskEvent = std::function<std::unique_ptr<TTaskObject>(TComponent* Sender)>;
using TOnTaskEvent = std::function<void(TComponent* Sender, TTaskObject* Task)>;
// Cancel starts false; a handler that sets it keeps the change from happening.
using TOnCancelTaskEvent = std::function<void(TComponent* Sender, TTaskObject* Task, bool& Cancel)>;
using TOnKeyPressEvent = std::function<void(TComponent* Sender, wchar_t& Key)>;
using TOnTaskTimesEvent = std::function<void(TComponent* Sender, TTaskObject* Task,
                                             TDateTime NewStart, TDateTime NewFinish,
                                             bool& Cancel)>;

// The headings and labels only show the model: a column's date comes from the first day and a
// row's time from the time scale that the last layout showed, never from their texts.
class TSkedra : public TStringGrid {
 public:
  // Columns 0 and 1 hold the hours and the minutes of the time labels; the shown days follow.
  static constexpr int FirstDayColumn = 2;

  TSkedra(TComponent* AOwner, const TClock& clock);
  ~TSkedra() override;

  void Loaded() override;
  void CreateParams(TCreateParams& params) const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // A press on the cells takes the selection away; the second press of a double click on them
  // opens "New task..." over the selected cells.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  // The release of a left press on the cells is a click.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // Escape ends a drag of a task and goes no further. Besides moving the current cell: Enter opens
  // the selected task ("Update...") or else "New task..." over the selected cells, Delete deletes
  // the selected task, Tab and Shift+Tab select the next and previous shown task, Ctrl+Left and
  // Ctrl+Right show the previous and next day (week). Tab past the last shown task is left to the
  // container, to move the focus on.
  void KeyDown(int& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  bool WantsKey(int key, TShiftState shift) const override;
  void MouseCaptureLost() override;
  // Cells, labels, headings, lines and the area beyond the cells; the markers are windowless
  // children, painted over them by the window's painting (PaintWindow).
  void Paint(TCanvas& canvas) override;
  // The shown days, the time slots and the tasks over them.
  TAccessibleModel* Accessible() override;

  TSkedraType SkedraType() const { return FSkedraType; }
  void SetSkedraType(TSkedraType value);
  TDateTime ActiveDate() const { return FActiveDate; }
  // Refuses a date too near the ends of the calendar (or no date at all) with "Range check
  // error" before anything changes.
  void SetActiveDate(TDateTime value);
  const TSkedraSettings& Settings() const { return FSettings; }
  // Refuses a time scale of 0 ("Division by zero") and weekdays outside 0..6 ("Range check
  // error") before anything changes.
  void SetSettings(const TSkedraSettings& value);
  TDateTime GetCurrentDate() const { return ColumnDate(CurrentCol()); }
  TTaskItem* SelectedItem() const { return FSelectedItem; }
  // The selection changes only here, and assistive technology hears of each change. Select is
  // the user's pick (a press on a marker, Tab): the markers of the entry and of the one selected
  // before repaint, and the select event follows. The handler may free the grid.
  void Select(TTaskItem& item);
  // The unselect event for the task (the selected one, or one about to be deleted), then no entry
  // is selected and the markers of the one that was repaint. False when the handler freed the
  // grid, which is then not touched.
  bool Unselect(TTaskObject* task);
  // An entry about to be freed leaves the selection, without events.
  void ForgetItem(const TTaskItem& item);
  TTaskItems& TaskItems() const { return *FTaskItems; }
  // The drag of a task by its marker, which the markers and the collection drive.
  TTaskDrag& TaskDrag() const { return *FTaskDrag; }
  TSpeedButton* PrevButton() const { return FPrevButton; }
  TSpeedButton* NextButton() const { return FNextButton; }
  // Whether the user may move and resize tasks by dragging their markers; turning it off ends a
  // drag under way.
  bool AllowDragTasks() const { return FAllowDragTasks; }
  void SetAllowDragTasks(bool value);

  // Batches nest. Inside one, the recalculations that setters ask for (UpdateSkedra), the
  // placement of the markers and the repaints wait; the outermost EndUpdate then recalculates
  // once in the strongest mode asked for, places every task (those added meanwhile too) and
  // repaints the whole window. A grid freed inside a batch ends it.
  void BeginUpdate();
  // "EndUpdate without BeginUpdate" (EInvalidOperation) when no batch is open.
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  // Places the markers of every task, those of TTaskItems::Add too, and repaints now, or at the
  // end of the batch.
  void Refresh();
  // A line across today's column at the current time, moved once a minute while the window
  // exists.
  bool ShowCurrentTime() const { return FShowCurrentTime; }
  void SetShowCurrentTime(bool value);

  // The start of a time row and the date of a day column as the view shows them: from the time
  // scale and the first day of the last layout, which inside a batch may not be the settings'
  // yet. The labels and headings are only their display. Rows and columns that are not time
  // rows and day columns, and every one before the first layout, have none: the Try forms
  // answer false, the others fail with "'' is not a valid time" and "'' is not a valid date".
  TDateTime RowTime(int ARow) const;
  bool TryRowTime(int ARow, TDateTime& Value) const;
  TDateTime ColumnDate(int ACol) const;
  bool TryColumnDate(int ACol, TDateTime& Value) const;
  TDateTime CellToDateTime(int ACol, int ARow) const;
  // A time inside a slot maps to the row of the next slot boundary; a day not shown gives
  // column -1.
  TCellCoord DateTimeToCell(TDateTime value) const;
  // The time rows of a day, as the rows map times (DateTimeToCell) and drags count them.
  TDaySlots DaySlots() const { return TDaySlots{FSettings.TimeScale, RowCount() - FixedRows()}; }
  static TDayOfWeek WeekDayOf(TDateTime value);
  static String DayNameOf(TDateTime value);
  int GetColWidth(int index) const { return ColWidths(index); }
  int GetRowHeight(int index) const { return RowHeights(index); }

  virtual std::unique_ptr<TTaskObject> CreateTask();
  virtual void UpdateSkedra(TUpdateSkedraMode mode);
  virtual void DoSelectTask(TTaskObject* task);
  virtual void DoUnselectTask(TTaskObject* task);
  virtual void DoAppendTask(TTaskObject* task);
  virtual void DoUpdateTask(TTaskObject* task);
  virtual void DoDeleteTask(TTaskObject* task);
  // The user's deletion and "Update..." ask first, and so do a drag's move and resize; each
  // answers whether the change may go ahead, false when a handler cancelled.
  virtual bool DoBeforeDeleteTask(TTaskObject* task);
  virtual bool DoBeforeUpdateTask(TTaskObject* task);
  virtual bool DoBeforeMoveTask(TTaskObject* task, TDateTime newStart, TDateTime newFinish);
  virtual bool DoBeforeResizeTask(TTaskObject* task, TDateTime newStart, TDateTime newFinish);
  virtual void DoTaskMoved(TTaskObject* task);
  virtual void DoTaskResized(TTaskObject* task);
  virtual void DoClick();
  virtual void DoDblClick();
  virtual void DoKeyPress(wchar_t& key);

  void PrevButtonClick(TComponent* Sender);
  void NextButtonClick(TComponent* Sender);
  void PopupMenuPopup(TComponent* Sender);
  void MenuItemClick(TComponent* Sender);

  TOnUpdateEvent OnUpdateSkedra;
  TOnCreateTaskEvent OnCreateTask;
  TOnTaskEvent OnSelectTask;
  TOnTaskEvent OnUnselectTask;
  TOnTaskEvent OnAppendTask;
  TOnTaskEvent OnUpdateTask;
  TOnTaskEvent OnDeleteTask;
  TOnCancelTaskEvent OnBeforeDeleteTask;
  TOnCancelTaskEvent OnBeforeUpdateTask;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TOnKeyPressEvent OnKeyPress;
  TOnTaskTimesEvent OnBeforeMoveTask;
  TOnTaskTimesEvent OnBeforeResizeTask;
  TOnTaskEvent OnTaskMoved;
  TOnTaskEvent OnTaskResized;

 protected:
  void TopLeftChanged() override;
  void CurrentCellMoved() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void Notification(TComponent* AComponent, TOperation operation) override;
  void FrameChanged() override;
  void HandleCreated() override;
  void ScaleChanged() override;
  // The headings follow the container's locale.
  void FormatSettingsChanged() override;
  // The outline of a task being dragged.
  void PaintOverControls(TCanvas& canvas) override;

 private:
  // Lays the view out again for a new client size and keeps the next-day button at the right.
  void ClientResized();

  // The one writer of the selection.
  void SelectItem(TTaskItem* item);
  // The entry that Tab (forward) or Shift+Tab selects: the next or previous among the shown
  // tasks by start, finish and order of the collection; the first or last when the selected
  // task is none of them; null past either end.
  TTaskItem* AdjacentItem(bool forward) const;
  void SelectAdjacentItem(TTaskItem& item);
  // Scrolls the start of the entry's first shown marker into view.
  void ScrollToItem(const TTaskItem& item);

  // The update event, then the recalculation of each step, then the placement.
  void RunUpdate(TUpdateSkedraMode mode, TSet<TUpdateSkedraMode> steps);
  void DeferUpdate(TUpdateSkedraMode mode);
  void FinishUpdate(TSet<TUpdateSkedraMode> pending);
  // The daily and the weekly step of a recalculation differ only in a few places.
  void RecalculateView(TUpdateSkedraMode mode, bool weekly);
  void SetTimeRows();
  void AlignToWeekStart();
  int WeekColumnCount() const;
  void FillTimeLabels();
  void FillDayHeadings();
  void ResizeDayColumns();
  void ScaleDefaultSizes();
  // Sets the rows and the fixed columns whose scaled sizes differ from the default ones.
  void FitCellsToScale();
  void PlaceNavigationButtons();
  void AddMenuItem(const String& caption, int tag);
  TSpeedButton* CreateNavigationButton(const wchar_t* glyphName, TNotifyEvent onClick);

  // Where the line of the shown time lies, empty when it is not in view; painted in SkedraPaint.
  TRect CurrentTimeRect() const;
  // The line moves to the clock's time: both of its places are repainted.
  void ShowTimeNow();
  void UpdateClockTimer();

  TPaintInfo ComputePaintInfo() const;
  // Paints the cells from (firstCol, firstRow) whose rectangles start inside area.
  void PaintCellRange(const TPaintInfo& info, int firstCol, int firstRow, const TRect& area,
                      TColor color, TGridDrawState baseState);
  void PaintCell(const TPaintInfo& info, int ACol, int ARow, const TRect& ARect, TColor color,
                 TGridDrawState baseState);
  void PaintCellBody(TCanvas& canvas, int ACol, int ARow, TGridDrawState AState,
                     const TRect& ARect);
  void PaintLines(const TPaintInfo& info);
  // bounds: x0, y0, x1, y1.
  void PaintGridLines(const TPaintInfo& info, TStrokeBuffer& strokes, bool horzOn, bool vertOn,
                      int firstCol, int firstRow, const int (&bounds)[4], TColor onColor,
                      TColor offColor);
  // major 0 draws the vertical lines between columns, 1 the horizontal ones between rows.
  void PaintAxisLines(const TGridAxis& axis, TStrokeBuffer& strokes, int cell, int major,
                      const int (&bounds)[4], TColor color);

  TSkedraType FSkedraType = skDaily;
  TSkedraSettings FSettings;
  // Outlives the entries: freeing an entry ends a drag of its task.
  std::unique_ptr<TTaskDrag> FTaskDrag;
  std::unique_ptr<TTaskItems> FTaskItems;
  TDateTime FActiveDate;
  // What the last layout showed: the time scale of its rows and the first day of its columns.
  int FShownTimeScale = 0;
  int FShownFirstDay = 0;
  bool FDaysShown = false;
  TTaskItem* FSelectedItem = nullptr;
  TSpeedButton* FPrevButton = nullptr;
  TSpeedButton* FNextButton = nullptr;
  std::unique_ptr<TSkedraAccessible> FAccessible;
  // A left press on the cells waits for its release to be a click.
  bool FClickPending = false;
  const TClock& FClock;
  bool FShowCurrentTime = true;
  // The time the line shows while the window exists: the clock's at the last tick, so that any
  // repaint between ticks draws it where the window was told it is. A picture of the grid
  // without a window shows the clock's time.
  TDateTime FShownTime = 0;
  int FUpdateCount = 0;
  TSet<TUpdateSkedraMode> FPendingUpdates;
  // Holds the window's invalidations while a batch is open.
  std::unique_ptr<TInvalidationBatch> FPaintBatch;
  bool FAllowDragTasks = true;
  // The first layout has given the view its rows and columns.
  bool FLaidOut = false;
};

}  // namespace skx
