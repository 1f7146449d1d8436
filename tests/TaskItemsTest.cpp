// The task collection: new, add, delete, clear and their events, failures and ownership.
#include "TaskTestSupport.h"

namespace skx::test {
namespace {

using TaskItemsTest = TaskTest;
INSTANTIATE_TEST_SUITE_P(Locales, TaskItemsTest, ::testing::ValuesIn(LocaleCases), LocaleName);

template <typename Action>
String FailureOf(Action action) {
  try {
    action();
  } catch (const Exception& error) {
    return error.Message();
  }
  return L"no failure";
}

TEST_P(TaskItemsTest, ItemsOutsideTheListFail) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  EXPECT_EQ(&Item(0), &grid.TaskItems().Items(0));
  EXPECT_EQ(FailureOf([&] { grid.TaskItems().Items(1); }), L"List index out of bounds (1)");
  EXPECT_EQ(FailureOf([&] { grid.TaskItems().Items(-1); }), L"List index out of bounds (-1)");
}

TEST_P(TaskItemsTest, AddTakesTheTaskButPlacesItLater) {
  TSkedra& grid = MakeDailyGrid();
  TLoggedTask& task = AddTask(1, At(12, 9, 0), At(12, 9, 0));
  EXPECT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(Item(0).Task(), &task);
  EXPECT_TRUE(Item(0).Points().empty());
  EXPECT_TRUE(FLog.empty());
}

TEST_P(TaskItemsTest, NoTaskAndATaskAlreadyHeldAreRefused) {
  TSkedra& grid = MakeDailyGrid();
  TLoggedTask& task = AddTask(1, At(12, 9, 0), At(12, 9, 0));
  EXPECT_NE(FailureOf([&] { grid.TaskItems().Add(nullptr); }), L"no failure");
  EXPECT_NE(FailureOf([&] { grid.TaskItems().Add(std::unique_ptr<TTaskObject>(&task)); }),
            L"no failure");
  // Nor a new task that the grid's handler hands out twice, nor the list of another grid.
  grid.OnCreateTask = [&](TComponent*) { return std::unique_ptr<TTaskObject>(&task); };
  EXPECT_NE(FailureOf([&] { grid.TaskItems().NewTask(); }), L"no failure");
  TSkedra other(nullptr, FClock);
  EXPECT_NE(FailureOf([&] { other.TaskItems().Add(std::unique_ptr<TTaskObject>(&task)); }),
            L"no failure");
  EXPECT_EQ(other.TaskItems().Count(), 0);
  ASSERT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(Item(0).Task(), &task);
}

TEST_P(TaskItemsTest, AddTasksTakesThemAllInOrderButPlacesThemLater) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  std::vector<std::unique_ptr<TTaskObject>> tasks;
  for (int id : {2, 3, 4}) tasks.push_back(std::make_unique<TLoggedTask>(id, FLog, &FEditor));
  grid.TaskItems().AddTasks(std::move(tasks));
  ASSERT_EQ(grid.TaskItems().Count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Item(i).Task()->FID, i + 1);
    EXPECT_TRUE(Item(i).Points().empty());
  }
  grid.TaskItems().AddTasks({});
  EXPECT_EQ(grid.TaskItems().Count(), 4);
  EXPECT_TRUE(FLog.empty());
}

// The tasks of a refused call are freed, each once, and a task that an entry holds stays with it.
TEST_P(TaskItemsTest, AddTasksWithOneTaskThatCannotBeAddedAddsNone) {
  TSkedra& grid = MakeDailyGrid();
  TLoggedTask& held = AddTask(1, At(12, 9, 0), At(12, 9, 0));
  auto attempt = [&](auto place) {
    std::vector<std::unique_ptr<TTaskObject>> tasks;
    auto fresh = std::make_unique<TLoggedTask>(2, FLog, &FEditor);
    TWeakRef<TTaskObject> freed(fresh.get());
    tasks.push_back(std::move(fresh));
    place(tasks);
    tasks.push_back(std::make_unique<TLoggedTask>(3, FLog, &FEditor));
    String failure = FailureOf([&] { grid.TaskItems().AddTasks(std::move(tasks)); });
    EXPECT_EQ(grid.TaskItems().Count(), 1);
    EXPECT_TRUE(freed.Expired());
    return failure;
  };
  EXPECT_EQ(attempt([](auto& tasks) { tasks.push_back(nullptr); }), L"There is no task to add");
  EXPECT_EQ(attempt([&](auto& tasks) { tasks.emplace_back(&held); }),
            L"The task is already in the list");
  EXPECT_EQ(attempt([&](auto& tasks) {
              tasks.emplace_back(&held);
              tasks.emplace_back(&held);
            }),
            L"The task is already in the list");
  EXPECT_EQ(attempt([&](auto& tasks) {
              auto* twice = new TLoggedTask(4, FLog, &FEditor);
              tasks.emplace_back(twice);
              tasks.emplace_back(twice);
              tasks.emplace_back(twice);
            }),
            L"The task is already in the list");
  ASSERT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(Item(0).Task(), &held);
  EXPECT_THROW(held.SetID(5), EInvalidOperation);
}

TEST_P(TaskItemsTest, TheIdentifierCanBeSetUntilAListTakesTheTask) {
  TSkedra& grid = MakeDailyGrid();
  auto task = std::make_unique<TLoggedTask>(1, FLog, &FEditor);
  TLoggedTask& added = *task;
  task->SetID(8);
  EXPECT_EQ(task->FID, 8);
  grid.TaskItems().Add(std::move(task));
  EXPECT_EQ(FailureOf([&] { added.SetID(9); }),
            L"The identifier of a task cannot change once it is in a schedule");
  EXPECT_EQ(added.FID, 8);
  std::vector<std::unique_ptr<TTaskObject>> tasks;
  tasks.push_back(std::make_unique<TLoggedTask>(2, FLog, &FEditor));
  TTaskObject& second = *tasks.back();
  grid.TaskItems().AddTasks(std::move(tasks));
  EXPECT_THROW(second.SetID(3), EInvalidOperation);
  EXPECT_EQ(second.FID, 2);
  // Nor does the task a new task's handler makes change once the new task is appended.
  TWeakRef<TTaskObject> created;
  TrackNewTasks(grid, 4, created);
  grid.TaskItems().NewTask();
  ASSERT_FALSE(created.Expired());
  EXPECT_THROW(created.Get()->SetID(5), EInvalidOperation);
}

TEST_P(TaskItemsTest, ConfirmedNewTaskIsAppendedAndPlacedBeforeTheEvent) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 14, 0), At(12, 15, 0));
  grid.SetSelection(TCellRect{2, 37, 2, 40});
  FEditor.Values = [](TRxTaskObject& Task) { Task.FDescription = L"Review"; };
  std::size_t markersAtAppend = 0;
  grid.OnAppendTask = [&](TComponent*, TTaskObject* Task) {
    FLog.push_back(Entry(L"Append", Task));
    markersAtAppend = Item(1).Points().size();
  };
  grid.TaskItems().NewTask();
  EXPECT_EQ(FLog, TLog({L"Create", L"Edit 7", L"Append 7"}));
  EXPECT_EQ(FEditor.ShownStart, At(12, 9, 0));
  EXPECT_EQ(FEditor.ShownFinish, At(12, 9, 45));
  ASSERT_EQ(grid.TaskItems().Count(), 2);
  EXPECT_EQ(static_cast<TRxTaskObject&>(*Item(1).Task()).FDescription, L"Review");
  EXPECT_EQ(markersAtAppend, 1u);
  EXPECT_EQ(BoundsOf(1), Bounds(60, (37 - grid.TopVisibleRow() + 1) * 17, 290, 68));
}

TEST_P(TaskItemsTest, NewTaskOnAFormBeingDesignedOpensNoDialogAndAsksNothing) {
  TSkedra& grid = MakeDailyGrid();
  TAmbientProperties designing;
  designing.UserMode = false;
  grid.TakeAmbient(designing);
  grid.TaskItems().NewTask();
  EXPECT_TRUE(FLog.empty());
  EXPECT_EQ(grid.TaskItems().Count(), 0);
}

TEST_P(TaskItemsTest, NewTaskFromOneCellStartsAndFinishesThere) {
  TSkedra& grid = MakeDailyGrid();
  grid.SetSelection(TCellRect{2, 37, 2, 37});
  grid.TaskItems().NewTask();
  EXPECT_EQ(Item(0).Task()->FStartDateTime, At(12, 9, 0));
  EXPECT_EQ(Item(0).Task()->FFinishDateTime, At(12, 9, 0));
}

TEST_P(TaskItemsTest, CancelledNewTaskIsFreedWithoutEvent) {
  TSkedra& grid = MakeDailyGrid();
  TWeakRef<TTaskObject> created;
  TrackNewTasks(grid, 3, created);
  FEditor.Answer = TScriptedEditor::eaCancel;
  grid.TaskItems().NewTask();
  EXPECT_EQ(FLog, TLog({L"Edit 3"}));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_TRUE(created.Expired());
}

TEST_P(TaskItemsTest, FailedNewTaskLeavesNothingBehind) {
  TSkedra& grid = MakeDailyGrid();
  TWeakRef<TTaskObject> created;
  TrackNewTasks(grid, 3, created);
  grid.SetSelection(TCellRect{2, 37, 2, 40});
  FEditor.Answer = TScriptedEditor::eaFail;
  EXPECT_EQ(FailureOf([&] { grid.TaskItems().NewTask(); }), L"'x' is not a valid time");
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_TRUE(created.Expired());

  FEditor.Answer = TScriptedEditor::eaOK;
  const int controls = grid.ControlCount();
  grid.OnAppendTask = [&grid, controls](TComponent*, TTaskObject*) {
    EXPECT_EQ(grid.ControlCount(), controls + 1);
    throw Exception(L"container refused");
  };
  EXPECT_EQ(FailureOf([&] { grid.TaskItems().NewTask(); }), L"container refused");
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_TRUE(created.Expired());
  EXPECT_EQ(grid.ControlCount(), controls);
}

TEST_P(TaskItemsTest, HandlersThatFreeTheTaskThemselvesLeaveNothingToFreeTwice) {
  TSkedra& grid = MakeDailyGrid();
  grid.SetSelection(TCellRect{2, 37, 2, 40});
  grid.OnAppendTask = [&](TComponent*, TTaskObject* Task) {
    grid.TaskItems().Delete(Task->FID);
    throw Exception(L"container refused");
  };
  EXPECT_EQ(FailureOf([&] { grid.TaskItems().NewTask(); }), L"container refused");
  EXPECT_EQ(grid.TaskItems().Count(), 0);

  LogEvents(grid);
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.OnUnselectTask = [&](TComponent*, TTaskObject* Task) {
    FLog.push_back(Entry(L"Unselect", Task));
    grid.TaskItems().Clear();
  };
  FLog.clear();
  grid.TaskItems().Delete(1);
  EXPECT_EQ(FLog, TLog({L"Confirm 1", L"Unselect 1"}));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
}

TEST_P(TaskItemsTest, NewTaskWithoutATaskFromTheHandlerFailsClearly) {
  TSkedra& grid = MakeDailyGrid();
  grid.OnCreateTask = [](TComponent*) { return std::unique_ptr<TTaskObject>(); };
  EXPECT_EQ(FailureOf([&] { grid.TaskItems().NewTask(); }),
            L"The event \"OnCreateTask\" returned no task");
  EXPECT_EQ(grid.TaskItems().Count(), 0);
}

TEST_P(TaskItemsTest, DeleteConfirmsUnselectsReportsFreesAndArranges) {
  TSkedra& grid = MakeDailyGrid();
  TWeakRef<TTaskObject> deleted(&AddTask(1, At(12, 9, 0), At(12, 10, 0)));
  AddTask(2, At(12, 9, 30), At(12, 11, 0));
  grid.TaskItems().Arrange();
  grid.OnDeleteTask = [&](TComponent*, TTaskObject* Task) {
    FLog.push_back(Entry(L"Delete", Task));
    EXPECT_EQ(grid.TaskItems().Count(), 2);
  };
  grid.TaskItems().Delete(1);
  EXPECT_EQ(FLog, TLog({L"Confirm 1", L"Unselect 1", L"Delete 1"}));
  EXPECT_TRUE(deleted.Expired());
  ASSERT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(BoundsOf(0).Width(), 290);
}

// The task that was selected stays, and repaints to lose its bar.
TEST_P(TaskItemsTest, DeleteOfAnUnselectedTaskStillClearsTheSelection) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  AddTask(2, At(12, 12, 0), At(12, 12, 0));
  grid.TaskItems().Arrange();
  Marker(1).MouseDown(mbLeft, {}, 1, 1);
  FLog.clear();
  FRecorder.ClearInvalidations();
  grid.TaskItems().Delete(1);
  EXPECT_EQ(FLog, TLog({L"Confirm 1", L"Unselect 1", L"Delete 1"}));
  EXPECT_EQ(grid.SelectedItem(), nullptr);
  EXPECT_TRUE(Invalidated(Marker(0)));
}

TEST_P(TaskItemsTest, DeleteActsOnTheFirstMatchOnlyAndOnlyWithConsent) {
  TSkedra& grid = MakeDailyGrid();
  TLoggedTask& first = AddTask(5, At(12, 9, 0), At(12, 9, 0));
  TLoggedTask& second = AddTask(5, At(12, 12, 0), At(12, 12, 0));
  grid.TaskItems().Delete(4);
  EXPECT_TRUE(FLog.empty());
  first.AgreesToDelete = false;
  grid.TaskItems().Delete(5);
  EXPECT_EQ(FLog, TLog({L"Confirm 5"}));
  EXPECT_EQ(grid.TaskItems().Count(), 2);
  first.AgreesToDelete = true;
  grid.TaskItems().Delete(5);
  ASSERT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(Item(0).Task(), &second);
}

TEST_P(TaskItemsTest, FailingDeleteHandlerLeavesTheTaskUnselected) {
  TSkedra& grid = MakeDailyGrid();
  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  grid.TaskItems().Arrange();
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  grid.OnDeleteTask = [](TComponent*, TTaskObject*) { throw Exception(L"kept"); };
  EXPECT_EQ(FailureOf([&] { grid.TaskItems().Delete(1); }), L"kept");
  EXPECT_EQ(grid.TaskItems().Count(), 1);
  EXPECT_EQ(grid.SelectedItem(), nullptr);
}

TEST_P(TaskItemsTest, ClearUnselectsOnceAndFreesEveryTask) {
  TSkedra& grid = MakeDailyGrid();
  TWeakRef<TTaskObject> a(&AddTask(1, At(12, 9, 0), At(12, 9, 0)));
  TWeakRef<TTaskObject> b(&AddTask(2, At(12, 12, 0), At(12, 12, 0)));
  grid.TaskItems().Clear();
  EXPECT_TRUE(FLog.empty());
  EXPECT_TRUE(a.Expired() && b.Expired());

  AddTask(1, At(12, 9, 0), At(12, 9, 0));
  AddTask(2, At(12, 12, 0), At(12, 12, 0));
  grid.TaskItems().Arrange();
  Marker(1).MouseDown(mbLeft, {}, 1, 1);
  FLog.clear();
  grid.TaskItems().Clear();
  EXPECT_EQ(FLog, TLog({L"Unselect 2"}));
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_EQ(grid.SelectedItem(), nullptr);
  EXPECT_EQ(grid.ControlCount(), 2);
}

TEST_P(TaskItemsTest, GridFreedByItsOwnerRaisesNoUnselectButOneFreedDirectlyDoes) {
  TSkedra& grid = MakeDailyGrid();
  TWeakRef<TTaskObject> task(&AddTask(1, At(12, 9, 0), At(12, 9, 0)));
  grid.TaskItems().Arrange();
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  FLog.clear();
  grid.MarkDestroying();
  FGrid.reset();
  EXPECT_TRUE(FLog.empty());
  EXPECT_TRUE(task.Expired());

  TSkedra& direct = MakeDailyGrid();
  AddTask(2, At(12, 9, 0), At(12, 9, 0));
  direct.TaskItems().Arrange();
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  FLog.clear();
  FGrid.reset();
  EXPECT_EQ(FLog, TLog({L"Unselect 2"}));
}

TEST_P(TaskItemsTest, FailingUnselectWhileTheGridIsFreedStillFreesEveryTask) {
  TSkedra& grid = MakeDailyGrid();
  TWeakRef<TTaskObject> task(&AddTask(1, At(12, 9, 0), At(12, 9, 0)));
  grid.TaskItems().Arrange();
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  grid.OnUnselectTask = [](TComponent*, TTaskObject*) { throw Exception(L"sink gone"); };
  FGrid.reset();
  EXPECT_TRUE(task.Expired());
}

}  // namespace
}  // namespace skx::test
