// Fixtures shared by the task tests: a grid with a 300-pixel day column, tasks that report what
// is done to them, a scripted task dialog and a log of the grid's events.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Framework/Core/RecordingCanvas.h"
#include "RxObjects/RxTaskObject.h"
#include "SkedraComp/PointControl.h"
#include "SkedraTestSupport.h"

namespace skx::test {

using TLog = std::vector<String>;

inline String Entry(const wchar_t* what, const TTaskObject* task) {
  return String(what) + L" " + std::to_wstring(task->FID);
}

// A task that logs its questions and remembers the rectangle it was last drawn into.
class TLoggedTask : public TRxTaskObject {
 public:
  TLoggedTask(int AID, TLog& log, TTaskEditorService* editor = nullptr) : TRxTaskObject(AID), FLog(log) {
    SetEditor(editor);
  }

  void Draw(TCanvas&, const TRect& Rect) override {
    FLog.push_back(Entry(L"Draw", this));
    DrawnRect = Rect;
  }
  bool ConfirmDelete() override {
    FLog.push_back(Entry(L"Confirm", this));
    return AgreesToDelete;
  }

  bool AgreesToDelete = true;
  TRect DrawnRect;

 private:
  TLog& FLog;
};

// Answers the task dialog the way a test says: OK with the given values, Cancel, or a failure.
class TScriptedEditor : public TTaskEditorService {
 public:
  enum TAnswer { eaOK, eaCancel, eaFail };

  explicit TScriptedEditor(TLog& log) : FLog(log) {}

  bool EditTask(TRxTaskObject& Task) override {
    FLog.push_back(Entry(L"Edit", &Task));
    ShownStart = Task.FStartDateTime;
    ShownFinish = Task.FFinishDateTime;
    if (Answer == eaFail) throw EConvertError(L"'x' is not a valid time");
    if (Answer == eaCancel) return false;
    if (Values) Values(Task);
    return true;
  }

  TAnswer Answer = eaOK;
  std::function<void(TRxTaskObject&)> Values;
  TDateTime ShownStart = 0;
  TDateTime ShownFinish = 0;

 private:
  TLog& FLog;
};

class TaskTest : public SkedraTest {
 protected:
  // The daily view with a day column of 300 pixels, time columns of 25 and one-pixel lines.
  TSkedra& MakeDailyGrid() {
    TSkedra& grid = MakeGrid();
    grid.Loaded();
    grid.SetSkedraType(skDaily);
    grid.SetBounds(0, 0, 400 + 300 - grid.ColWidths(2), 300);
    LogEvents(grid);
    return grid;
  }

  TSkedra& MakeLoggedWeeklyGrid() {
    TSkedra& grid = MakeWeeklyGrid();
    grid.Loaded();
    LogEvents(grid);
    return grid;
  }

  void LogEvents(TSkedra& grid) {
    grid.OnCreateTask = [this](TComponent*) -> std::unique_ptr<TTaskObject> {
      FLog.push_back(L"Create");
      return std::make_unique<TLoggedTask>(FNextID, FLog, &FEditor);
    };
    auto logAs = [this](const wchar_t* what) {
      return [this, what](TComponent*, TTaskObject* Task) { FLog.push_back(Entry(what, Task)); };
    };
    grid.OnSelectTask = logAs(L"Select");
    grid.OnUnselectTask = logAs(L"Unselect");
    grid.OnAppendTask = logAs(L"Append");
    grid.OnUpdateTask = logAs(L"Update");
    grid.OnDeleteTask = logAs(L"Delete");
  }

  // New tasks get the identifier; created follows the last one made.
  void TrackNewTasks(TSkedra& grid, int id, TWeakRef<TTaskObject>& created) {
    grid.OnCreateTask = [this, id, &created](TComponent*) -> std::unique_ptr<TTaskObject> {
      auto task = std::make_unique<TLoggedTask>(id, FLog, &FEditor);
      created = TWeakRef<TTaskObject>(task.get());
      return task;
    };
  }

  TLoggedTask& AddTask(int id, TDateTime start, TDateTime finish) {
    auto task = std::make_unique<TLoggedTask>(id, FLog, &FEditor);
    TLoggedTask& added = *task;
    added.FStartDateTime = start;
    added.FFinishDateTime = finish;
    FGrid->TaskItems().Add(std::move(task));
    return added;
  }

  static TDateTime At(int day, int hour, int minute) {
    return Day(day) + EncodeTime(hour, minute, 0, 0);
  }

  TTaskItem& Item(int index) { return FGrid->TaskItems().Items(index); }
  TPointControl& Marker(int index, int point = 0) { return *Item(index).Points().at(point); }
  TRect BoundsOf(int index, int point = 0) { return Marker(index, point).BoundsRect(); }
  bool ShownOf(int index, int point = 0) { return Marker(index, point).Visible(); }
  // Whether the grid's window was asked to repaint the marker since the last clearing.
  bool Invalidated(const TPointControl& marker) {
    const std::vector<TRect>& rects = FRecorder.WindowOf(*FGrid)->InvalidRects;
    return std::find(rects.begin(), rects.end(), marker.BoundsRect()) != rects.end();
  }

  // Answers the next pop-up menu with its item of that caption.
  void Choose(const wchar_t* caption) {
    FRecorder.ChooseItem = [caption](TPopupMenu& Menu) {
      for (int i = 0; i < Menu.Count(); ++i)
        if (Menu.Items(i)->Caption() == caption) return i;
      return -1;
    };
  }

  void RightClick(TPointControl& marker) { skx::RightClick(marker, 2, 2); }

  TLog FLog;
  TScriptedEditor FEditor{FLog};
  int FNextID = 7;
};

}  // namespace skx::test
