// TTaskObjectX in-process over tasks that the test owns: weak references and the class check.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <memory>

#include "SkedraImpl/TaskObjectX.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

class TaskWrapperTest : public TInProcessServerTest {
 protected:
  static ITaskObject* Wrap(TTaskObject* task) {
    ITaskObject* wrapper = new TTaskObjectX(TaskObjectXFactory(), task);
    wrapper->AddRef();
    return wrapper;
  }
};

TEST_F(TaskWrapperTest, ReadsAndWritesTheWrappedTask) {
  TRxTaskObject task(42);
  ITaskObject* wrapper = Wrap(&task);
  long id = 0;
  EXPECT_EQ(wrapper->get_ID(&id), S_OK);
  EXPECT_EQ(id, 42);
  EXPECT_EQ(wrapper->put_Remind(15), S_OK);
  EXPECT_EQ(task.FRemind, 15);
  wrapper->Release();
  EXPECT_EQ(task.FRemind, 15);  // releasing the wrapper leaves the task alone
}

TEST_F(TaskWrapperTest, WrapperOfAFreedTaskFailsEveryMemberAndClearsItsResults) {
  auto task = std::make_unique<TRxTaskObject>(7);
  ITaskObject* wrapper = Wrap(task.get());
  task.reset();

  long id = 0x1234;
  EXPECT_EQ(wrapper->get_ID(&id), E_UNEXPECTED);
  EXPECT_EQ(id, 0);
  BSTR text = reinterpret_cast<BSTR>(0xdeadbeef);
  EXPECT_EQ(wrapper->get_Description(&text), E_UNEXPECTED);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(wrapper->put_StartDateTime(1.5), E_UNEXPECTED);
  EXPECT_EQ(wrapper->put_Priority(::tpHigh), E_UNEXPECTED);

  IErrorInfo* info = nullptr;
  ASSERT_EQ(::GetErrorInfo(0, &info), S_OK);
  BSTR description = nullptr;
  BSTR source = nullptr;
  info->GetDescription(&description);
  info->GetSource(&source);
  EXPECT_STREQ(description, L"The task of this object no longer exists");
  EXPECT_STREQ(source, L"SkedraXControl.TaskObjectX");
  ::SysFreeString(description);
  ::SysFreeString(source);
  info->Release();
  wrapper->Release();
}

TEST_F(TaskWrapperTest, OnlyTasksOfTheConcreteClassCanBeWrapped) {
  TTaskObject task(1);
  EXPECT_THROW(TTaskObjectX(TaskObjectXFactory(), &task), EInvalidCast);
}

}  // namespace
}  // namespace skx::test
