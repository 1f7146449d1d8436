// Event handlers that free the task, the marker, its menu or the whole grid under the code that
// raised the event.
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TaskTestSupport.h"

namespace skx::test {
namespace {

using HostileHandlerTest = TaskTest;
INSTANTIATE_TEST_SUITE_P(Locales, HostileHandlerTest, ::testing::ValuesIn(LocaleCases),
                         LocaleName);

TEST_P(HostileHandlerTest, UnselectWhileTheGridIsFreedFindsTheGridWhole) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  TWeakRef<TTaskObject> other(&AddTask(2, At(12, 10, 0), At(12, 10, 0)));
  grid.TaskItems().Arrange();
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  int counted = -1;
  grid.OnUnselectTask = [&counted](TComponent* Sender, TTaskObject*) {
    auto& freed = static_cast<TSkedra&>(*Sender);
    counted = freed.TaskItems().Count();
    freed.NextButtonClick(nullptr);
    freed.SetSettings(freed.Settings());
    freed.SetTopLeft(2, 40);
  };
  FGrid.reset();
  EXPECT_EQ(counted, 2);
  EXPECT_TRUE(other.Expired());
}

TEST_P(HostileHandlerTest, RightClickWhoseSelectHandlerDeletesTheTaskShowsNoMenu) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  grid.OnSelectTask = [&grid](TComponent*, TTaskObject* Task) {
    grid.TaskItems().Delete(Task->FID);
  };
  Choose(L"Delete");
  RightClick(Marker(0));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_TRUE(FRecorder.Popups.empty());
  EXPECT_EQ(grid.ControlCount(), 2);
}

TEST_P(HostileHandlerTest, TasksClearedWhileAMarkersMenuIsOpenRunNoCommand) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  FRecorder.ChooseItem = [&grid](TPopupMenu&) {
    grid.TaskItems().Clear();
    return 2;  // "Delete"
  };
  RightClick(Marker(0));
  EXPECT_EQ(FLog, TLog({L"Select 1", L"Unselect 1"}));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
}

TEST_P(HostileHandlerTest, GridFreedWhileItsOwnMenuIsOpenRunsNoCommand) {
  TSkedra& grid = MakeDailyGrid();
  FRecorder.ChooseItem = [this](TPopupMenu&) {
    FGrid.reset();
    return 0;
  };
  grid.ContextPopup(100, 100);
  EXPECT_EQ(FGrid, nullptr);
  EXPECT_EQ(FLog, TLog{});
}

// Each handler frees the grid, with the marker whose command is running and that marker's menu.
TEST_P(HostileHandlerTest, GridFreedInsideAMarkersCommandEndsItCleanly) {
  const std::vector<std::pair<const wchar_t*, std::function<void(TSkedra&)>>> cases = {
      {L"Delete", [this](TSkedra& grid) {
         grid.OnDeleteTask = [this](TComponent*, TTaskObject*) { FGrid.reset(); };
       }},
      {L"Delete", [this](TSkedra& grid) {
         grid.OnUnselectTask = [this](TComponent*, TTaskObject*) { FGrid.reset(); };
       }},
      {L"Update...", [this](TSkedra& grid) {
         grid.OnUpdateTask = [this](TComponent*, TTaskObject*) { FGrid.reset(); };
       }},
      {L"Update...", [this](TSkedra&) { FEditor.Values = [this](TRxTaskObject&) { FGrid.reset(); }; }},
      {L"Update...", [this](TSkedra& grid) {
         grid.OnSelectTask = [this](TComponent*, TTaskObject*) { FGrid.reset(); };
       }},
  };
  for (const auto& [command, freeGrid] : cases) {
    TSkedra& grid = MakeDailyGrid();
    TWeakRef<TTaskObject> task(&AddTask(1, At(12, 9, 0), At(12, 9, 0)));
    grid.TaskItems().Arrange();
    FEditor.Values = nullptr;
    freeGrid(grid);
    Choose(command);
    RightClick(Marker(0));
    EXPECT_EQ(FGrid, nullptr) << ToUtf8(command);
    EXPECT_TRUE(task.Expired());
  }
}

TEST_P(HostileHandlerTest, GridFreedWhileANewTaskIsMadeLeavesNothingBehind) {
  TSkedra& grid = MakeDailyGrid();
  TWeakRef<TTaskObject> created;
  TrackNewTasks(grid, 5, created);
  FEditor.Values = [this](TRxTaskObject&) { FGrid.reset(); };
  grid.SetSelection(TCellRect{2, 37, 2, 40});
  Choose(L"New task...");
  grid.ContextPopup(100, 100);
  EXPECT_EQ(FGrid, nullptr);
  EXPECT_TRUE(created.Expired());

  TSkedra& again = MakeDailyGrid();
  again.OnAppendTask = [this](TComponent*, TTaskObject*) { FGrid.reset(); };
  TrackNewTasks(again, 6, created);
  FEditor.Values = nullptr;
  again.SetSelection(TCellRect{2, 37, 2, 40});
  again.ContextPopup(100, 100);
  EXPECT_EQ(FGrid, nullptr);
  EXPECT_TRUE(created.Expired());
}

using TAction = std::function<void(TSkedra& grid, TTaskObject* task)>;

// Each handler of a drop deletes the dragged task, clears the tasks or frees the grid (whose
// tasks then go with the unselect event): nothing after it runs, and a grid that is left goes on
// dragging its other tasks.
TEST_P(HostileHandlerTest, DropHandlersThatDeleteClearOrFreeEndTheDropCleanly) {
  using TArm = std::function<void(TSkedra&, TAction)>;
  auto beforeMove = [](TSkedra& grid, TAction act) {
    grid.OnBeforeMoveTask = [&grid, act](TComponent*, TTaskObject* Task, TDateTime, TDateTime,
                                         bool&) { act(grid, Task); };
  };
  auto moved = [](TSkedra& grid, TAction act) {
    grid.OnTaskMoved = [&grid, act](TComponent*, TTaskObject* Task) { act(grid, Task); };
  };
  const TAction deleteTask = [](TSkedra& grid, TTaskObject* Task) {
    grid.TaskItems().Delete(Task->FID);
  };
  const TAction clear = [](TSkedra& grid, TTaskObject*) { grid.TaskItems().Clear(); };
  const TAction freeGrid = [this](TSkedra&, TTaskObject*) { FGrid.reset(); };
  const std::vector<std::tuple<const char*, TArm, TAction, TLog>> cases = {
      {"delete before the move", beforeMove, deleteTask,
       {L"Select 1", L"Confirm 1", L"Unselect 1", L"Delete 1"}},
      {"clear before the move", beforeMove, clear, {L"Select 1", L"Unselect 1"}},
      {"free before the move", beforeMove, freeGrid, {L"Select 1", L"Unselect 1"}},
      {"delete once moved", moved, deleteTask,
       {L"Select 1", L"Confirm 1", L"Unselect 1", L"Delete 1"}},
      {"clear once moved", moved, clear, {L"Select 1", L"Unselect 1"}},
      {"free once moved", moved, freeGrid, {L"Select 1", L"Unselect 1"}},
  };
  for (const auto& [name, arm, act, expected] : cases) {
    SCOPED_TRACE(name);
    TSkedra& grid = MakeDailyGrid();
    FLog.clear();
    grid.SetTopLeft(2, grid.DateTimeToCell(At(12, 8, 0)).Row);
    TWeakRef<TTaskObject> task(&AddTask(1, At(12, 9, 0), At(12, 9, 45)));
    grid.TaskItems().Arrange();
    arm(grid, act);
    const TRect bounds = BoundsOf(0);
    grid.WindowMouseDown(mbLeft, {ssLeft}, bounds.Left + 5, bounds.Top + 20);
    grid.WindowMouseMove({ssLeft}, bounds.Left + 5, bounds.Top + 37);
    grid.WindowMouseUp(mbLeft, {}, bounds.Left + 5, bounds.Top + 37);
    EXPECT_TRUE(task.Expired());
    TLog events;
    for (const String& entry : FLog)
      if (entry.rfind(L"Draw", 0) != 0) events.push_back(entry);
    EXPECT_EQ(events, expected);
    if (!FGrid) continue;
    EXPECT_EQ(FRecorder.CaptureId, -1);
    TLoggedTask& next = AddTask(2, At(12, 10, 0), At(12, 10, 0));
    grid.TaskItems().Arrange();
    grid.OnBeforeMoveTask = nullptr;
    grid.OnTaskMoved = nullptr;
    const TRect other = BoundsOf(0);
    grid.WindowMouseDown(mbLeft, {ssLeft}, other.Left + 5, other.Top + 8);
    grid.WindowMouseMove({ssLeft}, other.Left + 5, other.Top + 25);
    grid.WindowMouseUp(mbLeft, {}, other.Left + 5, other.Top + 25);
    EXPECT_EQ(next.FStartDateTime, At(12, 10, 15));
  }
}

enum TRaised {
  reSelect,
  reUnselect,
  reCreate,
  reAppend,
  reUpdate,
  reDelete,
  reBeforeDelete,
  reBeforeUpdate,
  reClick,
  reDblClickMarker,
  reDblClickCells,
  reBeforeMove,
  reMoved,
  reBeforeResize,
  reResized
};

class EveryEventTest : public TaskTest {
 protected:
  // Runs action from the first handler call of the event, then raises the event the way a user
  // does.
  void RaiseWith(TRaised raised, const TAction& action) {
    TSkedra& grid = MakeDailyGrid();
    AddTask(1, At(12, 9, 0), At(12, 9, 30));
    AddTask(2, At(12, 9, 15), At(12, 10, 0));
    grid.TaskItems().Arrange();
    auto once = [this, action](TTaskObject* task) {
      if (FActed) return;
      FActed = true;
      action(*FGrid, task);
    };
    auto handler = [once](TComponent*, TTaskObject* task) { once(task); };
    auto asking = [once](TComponent*, TTaskObject* task, bool&) { once(task); };
    auto notify = [once](TComponent*) { once(nullptr); };
    auto timesHandler = [once](TComponent*, TTaskObject* task, TDateTime, TDateTime, bool&) {
      once(task);
    };
    switch (raised) {
      case reSelect: grid.OnSelectTask = handler; break;
      case reUnselect: grid.OnUnselectTask = handler; break;
      case reAppend: grid.OnAppendTask = handler; break;
      case reUpdate: grid.OnUpdateTask = handler; break;
      case reDelete: grid.OnDeleteTask = handler; break;
      case reBeforeDelete: grid.OnBeforeDeleteTask = asking; break;
      case reBeforeUpdate: grid.OnBeforeUpdateTask = asking; break;
      case reClick: grid.OnClick = notify; break;
      case reDblClickMarker:
      case reDblClickCells: grid.OnDblClick = notify; break;
      case reBeforeMove: grid.OnBeforeMoveTask = timesHandler; break;
      case reMoved: grid.OnTaskMoved = handler; break;
      case reBeforeResize: grid.OnBeforeResizeTask = timesHandler; break;
      case reResized: grid.OnTaskResized = handler; break;
      case reCreate:
        grid.OnCreateTask = [this, once](TComponent*) -> std::unique_ptr<TTaskObject> {
          once(nullptr);
          return std::make_unique<TLoggedTask>(FNextID++, FLog, &FEditor);
        };
        break;
    }
    switch (raised) {
      case reSelect: Marker(0).MouseDown(mbLeft, {}, 1, 1); break;
      case reUnselect:
        Marker(0).MouseDown(mbLeft, {}, 1, 1);
        grid.MouseDown(mbLeft, {}, 100, 100);
        break;
      case reCreate:
      case reAppend:
        grid.SetSelection(TCellRect{2, 37, 2, 40});
        Choose(L"New task...");
        grid.ContextPopup(100, 100);
        break;
      case reUpdate:
        Choose(L"Update...");
        RightClick(Marker(0));
        break;
      case reDelete:
        Choose(L"Delete");
        RightClick(Marker(0));
        break;
      case reBeforeDelete:
      case reBeforeUpdate: {
        Marker(0).MouseDown(mbLeft, {}, 1, 1);
        int key = raised == reBeforeDelete ? vkDelete : vkReturn;
        grid.KeyDown(key, {});
        break;
      }
      case reClick:
        Marker(0).MouseDown(mbLeft, {}, 1, 1);
        Marker(0).MouseUp(mbLeft, {}, 1, 1);
        break;
      case reDblClickMarker: Marker(0).MouseDown(mbLeft, {ssDouble}, 1, 1); break;
      case reDblClickCells: grid.MouseDown(mbLeft, {ssDouble}, 100, 100); break;
      case reBeforeMove:
      case reMoved:
      case reBeforeResize:
      case reResized:
        DragTwoRowsDown(grid, raised == reBeforeResize || raised == reResized);
        break;
    }
  }

  // From the middle of the first task's marker, or from its bottom edge; the release may free
  // the grid.
  void DragTwoRowsDown(TSkedra& grid, bool resize) {
    grid.SetTopLeft(2, grid.DateTimeToCell(At(12, 8, 0)).Row);
    const TRect bounds = BoundsOf(0);
    const TPoint from{bounds.Left + 5, resize ? bounds.Bottom - 2 : bounds.Top + 20};
    grid.WindowMouseDown(mbLeft, {ssLeft}, from.X, from.Y);
    grid.WindowMouseMove({ssLeft}, from.X, from.Y + 34);
    grid.WindowMouseUp(mbLeft, {}, from.X, from.Y + 34);
  }

  // Every entry owns a task and only markers that point back at it; the selection is an entry.
  void ExpectWhole(TSkedra& grid) {
    TTaskItems& items = grid.TaskItems();
    bool selectionFound = grid.SelectedItem() == nullptr;
    int markers = 0;
    for (int i = 0; i < items.Count(); ++i) {
      TTaskItem& item = items.Items(i);
      EXPECT_NE(item.Task(), nullptr);
      for (const TPointControl* point : item.Points()) EXPECT_EQ(&point->Item(), &item);
      markers += static_cast<int>(item.Points().size());
      selectionFound = selectionFound || grid.SelectedItem() == &item;
    }
    EXPECT_TRUE(selectionFound);
    EXPECT_EQ(grid.ControlCount(), 2 + markers);
    EXPECT_NO_THROW(items.Arrange());
  }

  // What a handler, or a timer while the task dialog is open, may do to the grid.
  std::vector<std::pair<const char*, TAction>> Actions() {
    return {
        {"delete its task",
         [](TSkedra& grid, TTaskObject* task) { grid.TaskItems().Delete(task ? task->FID : 1); }},
        {"clear", [](TSkedra& grid, TTaskObject*) { grid.TaskItems().Clear(); }},
        {"move the view", [](TSkedra& grid, TTaskObject*) { grid.NextButtonClick(nullptr); }},
        {"switch the view", [](TSkedra& grid, TTaskObject*) { grid.SetSkedraType(skWeekly); }},
        {"change the settings",
         [](TSkedra& grid, TTaskObject*) {
           TSkedraSettings settings = grid.Settings();
           settings.TimeScale = 30;
           grid.SetSettings(settings);
         }},
        {"make a new task", [](TSkedra& grid, TTaskObject*) { grid.TaskItems().NewTask(); }},
        {"free the grid", [this](TSkedra&, TTaskObject*) { FGrid.reset(); }},
    };
  }

  bool FActed = false;
};

INSTANTIATE_TEST_SUITE_P(Locales, EveryEventTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(EveryEventTest, HandlersThatChangeEverythingLeaveTheGridWhole) {
  const std::vector<std::pair<const char*, TAction>> actions = Actions();
  for (int raised = reSelect; raised <= reResized; ++raised)
    for (const auto& [name, action] : actions) {
      SCOPED_TRACE(std::string(name) + " in event " + std::to_string(raised));
      FActed = false;
      EXPECT_NO_THROW(RaiseWith(static_cast<TRaised>(raised), action));
      EXPECT_TRUE(FActed);
      if (FGrid) ExpectWhole(*FGrid);
    }
}

TEST_P(EveryEventTest, ChangesWhileTheTaskDialogIsOpenLeaveTheGridWhole) {
  for (const wchar_t* command : {L"New task...", L"Update..."})
    for (const auto& [name, action] : Actions()) {
      SCOPED_TRACE(std::string(name) + " in the dialog of " + ToUtf8(command));
      TSkedra& grid = MakeDailyGrid();
      AddTask(1, At(12, 9, 0), At(12, 9, 30));
      grid.TaskItems().Arrange();
      FActed = false;
      FEditor.Values = [this, action = action](TRxTaskObject& Task) {
        if (FActed) return;
        FActed = true;
        action(*FGrid, &Task);
      };
      Choose(command);
      if (command == String(L"Update...")) {
        EXPECT_NO_THROW(RightClick(Marker(0)));
      } else {
        grid.SetSelection(TCellRect{2, 37, 2, 40});
        EXPECT_NO_THROW(grid.ContextPopup(100, 100));
      }
      EXPECT_TRUE(FActed);
      if (FGrid) ExpectWhole(*FGrid);
      FEditor.Values = nullptr;
    }
}

}  // namespace
}  // namespace skx::test
