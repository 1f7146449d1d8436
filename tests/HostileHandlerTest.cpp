// Event handlers that free the task, the marker, its menu or the whole grid under the code that
// raised the event.
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

}  // namespace
}  // namespace skx::test
