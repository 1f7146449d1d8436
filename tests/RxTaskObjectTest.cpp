// Task objects: defaults, caption tables, the editor seam and weak references to freed tasks.
#include <gtest/gtest.h>

#include <memory>

#include "RxObjects/RxTaskObject.h"

namespace skx {
namespace {

TEST(TaskObject, BaseKeepsItsIdentifierAndAgreesToEverything) {
  TTaskObject task(-3);
  EXPECT_EQ(task.FID, -3);
  EXPECT_EQ(task.FStartDateTime, 0.0);
  EXPECT_EQ(task.FFinishDateTime, 0.0);
  EXPECT_TRUE(task.EditAppend());
  EXPECT_TRUE(task.EditUpdate());
  EXPECT_TRUE(task.ConfirmDelete());
}

TEST(TaskObject, ConcreteTaskStartsWithItsDefaults) {
  TRxTaskObject task(5);
  EXPECT_EQ(task.FID, 5);
  EXPECT_EQ(task.FPriority, tpNormal);
  EXPECT_EQ(task.FTaskType, ttTask);
  EXPECT_EQ(task.FStatus, tsActive);
  EXPECT_FALSE(task.FIsPrivate);
  EXPECT_EQ(task.FRemind, 0);
  EXPECT_TRUE(task.FDescription.empty() && task.FNotes.empty() && task.FWhere.empty());
  EXPECT_EQ(task.FStartDateTime, 0.0);
  EXPECT_TRUE(task.ConfirmDelete());
}

TEST(TaskObject, CaptionTablesAreIndexedByTheEnumerationValues) {
  EXPECT_STREQ(TaskTypeNames[ttTask], L"Task");
  EXPECT_STREQ(TaskTypeNames[ttContact], L"Meeting");
  EXPECT_STREQ(TaskTypeNames[ttEvent], L"Event");
  EXPECT_STREQ(TaskStatusNames[tsActive], L"Active");
  EXPECT_STREQ(TaskStatusNames[tsCompleted], L"Complete");
  EXPECT_STREQ(TaskStatusNames[tsSuspend], L"Suspend");
  EXPECT_STREQ(TaskPriorityNames[tpHigh], L"High");
}

class TScriptedEditor : public TTaskEditorService {
 public:
  explicit TScriptedEditor(bool confirm) : FConfirm(confirm) {}
  bool EditTask(TRxTaskObject& task) override {
    ++FCalls;
    if (FConfirm) task.FDescription = L"edited";
    return FConfirm;
  }
  int FCalls = 0;

 private:
  bool FConfirm;
};

TEST(TaskObject, EditsGoThroughTheEditorService) {
  TRxTaskObject task(1);
  EXPECT_FALSE(task.EditAppend()) << "no editor: nothing can be confirmed";

  TScriptedEditor cancel(false);
  task.SetEditor(&cancel);
  EXPECT_FALSE(task.EditUpdate());
  EXPECT_TRUE(task.FDescription.empty());

  TScriptedEditor confirm(true);
  task.SetEditor(&confirm);
  EXPECT_TRUE(task.EditAppend());
  EXPECT_TRUE(task.EditUpdate());
  EXPECT_EQ(confirm.FCalls, 2);
  EXPECT_EQ(task.FDescription, L"edited");
}

TEST(TaskObject, WeakReferenceExpiresWithItsTask) {
  auto task = std::make_unique<TRxTaskObject>(9);
  TWeakRef<TRxTaskObject> weak(task.get());
  TWeakRef<TRxTaskObject> none;
  EXPECT_EQ(weak.Get(), task.get());
  EXPECT_TRUE(none.Expired());
  task.reset();
  EXPECT_TRUE(weak.Expired());
  EXPECT_EQ(weak.Get(), nullptr);
}

}  // namespace
}  // namespace skx
