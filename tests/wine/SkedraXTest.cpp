// ISkedraX in-process: property rules, task methods, events through the connection point,
// error information and the saved state.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "Framework/Com/ComServer.h"
#include "SkedraImpl/SkedraX.h"
#include "SkedraImpl/TaskObjectX.h"
#include "TestContainer.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

namespace Ev = SkedraXEventsDispId;

// Confirms every task it is shown, or refuses all of them.
class TTestEditor : public TTaskEditorService {
 public:
  bool Confirm = true;
  int Shown = 0;
  bool EditTask(TRxTaskObject& task) override {
    ++Shown;
    task.FDescription = L"edited";
    return Confirm;
  }
};

class SkedraXTest : public TInProcessServerTest {
 protected:
  void SetUp() override {
    FControl = new TSkedraX(SkedraXFactory(), [this](TModalHost&) {
      auto editor = std::make_unique<TTestEditor>();
      FEditor = editor.get();
      return editor;
    });
    FControl->AddRef();
    FX = FControl;
  }
  void TearDown() override {
    if (FCookie != 0) Unadvise();
    if (FControl != nullptr) {
      EXPECT_EQ(FControl->Release(), 0u);
    }
  }

  TSkedra& Grid() { return dynamic_cast<TSkedra&>(FControl->Control()); }

  void Advise(IUnknown* sink) {
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(FX->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(DIID_ISkedraXEvents, &FPoint), S_OK);
    container->Release();
    ASSERT_EQ(FPoint->Advise(sink, &FCookie), S_OK);
  }
  void Unadvise() {
    FPoint->Unadvise(FCookie);
    FPoint->Release();
    FCookie = 0;
  }

  // A task handed over through a container-made TaskObjectX.
  void AddTask(TDateTime start, TDateTime finish) {
    ITaskObject* task = new TTaskObjectX(TaskObjectXFactory());
    task->AddRef();
    task->put_StartDateTime(start);
    task->put_FinishDateTime(finish);
    ASSERT_EQ(FX->AddTask(task), S_OK);
    task->Release();
  }

  long TimeScale() {
    long value = -1;
    EXPECT_EQ(FX->get_TimeScale(&value), S_OK);
    return value;
  }

  TTestEditor* FEditor = nullptr;  // the control's
  TSkedraX* FControl = nullptr;
  ISkedraX* FX = nullptr;
  IConnectionPoint* FPoint = nullptr;
  DWORD FCookie = 0;
  TEventSink FSink;
};

TEST_F(SkedraXTest, StartsInTheDailyViewWithoutButtonsOrMenu) {
  ISkedraType type = ::skWeekly;
  EXPECT_EQ(FX->get_SkedraType(&type), S_OK);
  EXPECT_EQ(type, ::skDaily);
  EXPECT_EQ(TimeScale(), 15);
  EXPECT_EQ(Grid().PrevButton(), nullptr);
  EXPECT_EQ(Grid().PopupMenu(), nullptr);
}

TEST_F(SkedraXTest, TimeScaleOutsideOneTo255FailsWithRangeCheckAndChangesNothing) {
  for (long bad : {256L, -1L, 0L}) {
    EXPECT_EQ(FX->put_TimeScale(bad), E_UNEXPECTED) << bad;
    EXPECT_EQ(LastErrorDescription(), L"Range check error");
    EXPECT_EQ(TimeScale(), 15);
  }
  EXPECT_EQ(FX->put_TimeScale(30), S_OK);
  EXPECT_EQ(TimeScale(), 30);
  EXPECT_EQ(Grid().RowCount(), 1 + 48);
}

TEST_F(SkedraXTest, EnumerationPutsOutsideTheirConstantsFailAndChangeNothing) {
  EXPECT_EQ(FX->put_WeekStart(static_cast<IDayOfWeek>(7)), E_UNEXPECTED);
  EXPECT_EQ(FX->put_WeekEnd(static_cast<IDayOfWeek>(-1)), E_UNEXPECTED);
  EXPECT_EQ(FX->put_SkedraType(static_cast<ISkedraType>(2)), E_UNEXPECTED);
  EXPECT_EQ(FX->put_BorderStyle(static_cast<TxBorderStyle>(2)), E_UNEXPECTED);
  EXPECT_EQ(FX->put_DragMode(static_cast<TxDragMode>(2)), E_UNEXPECTED);
  EXPECT_EQ(Grid().Settings().WeekStart, dwMon);
  EXPECT_EQ(Grid().Settings().WeekEnd, dwFri);
  EXPECT_EQ(Grid().SkedraType(), skDaily);
  EXPECT_EQ(Grid().BorderStyle(), bsSingle);
  EXPECT_EQ(Grid().DragMode(), 0);
  EXPECT_EQ(FX->put_WeekEnd(::dwSun), S_OK);
  EXPECT_EQ(Grid().Settings().WeekEnd, dwSun);
}

TEST_F(SkedraXTest, DatesOutsideTheAutomationRangeFailAndChangeNothing) {
  double active = 0;
  FX->get_ActiveDate(&active);
  double start = 0;
  FX->get_DayStart(&start);
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), 2958466.0, -657435.0}) {
    EXPECT_EQ(FX->put_ActiveDate(bad), E_UNEXPECTED) << bad;
    EXPECT_EQ(FX->put_DayStart(bad), E_UNEXPECTED) << bad;
    EXPECT_EQ(FX->put_DayEnd(bad), E_UNEXPECTED) << bad;
  }
  double value = 0;
  FX->get_ActiveDate(&value);
  EXPECT_EQ(value, active);
  FX->get_DayStart(&value);
  EXPECT_EQ(value, start);
}

TEST_F(SkedraXTest, WeeklyActiveDateReadsBackAsTheMonday) {
  EXPECT_EQ(FX->put_SkedraType(::skWeekly), S_OK);
  EXPECT_EQ(FX->put_ActiveDate(EncodeDate(2026, 12, 9)), S_OK);  // a Wednesday
  double value = 0;
  EXPECT_EQ(FX->get_ActiveDate(&value), S_OK);
  EXPECT_EQ(value, EncodeDate(2026, 12, 7));
}

TEST_F(SkedraXTest, ItemsOutOfBoundsAndSelectedTaskWithoutSelectionFail) {
  ITaskObject* task = reinterpret_cast<ITaskObject*>(0xdeadbeef);
  EXPECT_EQ(FX->get_Items(0, &task), E_UNEXPECTED);
  EXPECT_EQ(task, nullptr);
  EXPECT_EQ(LastErrorDescription(), L"List index out of bounds (0)");
  task = reinterpret_cast<ITaskObject*>(0xdeadbeef);
  EXPECT_EQ(FX->get_SelectedTask(&task), E_UNEXPECTED);
  EXPECT_EQ(task, nullptr);
}

TEST_F(SkedraXTest, AddTaskTakesOverAContainerMadeTaskOnce) {
  ITaskObject* made = new TTaskObjectX(TaskObjectXFactory());
  made->AddRef();
  made->put_Remind(5);
  EXPECT_EQ(FX->AddTask(made), S_OK);
  EXPECT_EQ(FX->AddTask(made), E_INVALIDARG);  // its task is the grid's now
  EXPECT_EQ(FX->AddTask(nullptr), E_POINTER);
  long count = 0;
  FX->get_Count(&count);
  EXPECT_EQ(count, 1);

  ITaskObject* item = nullptr;
  ASSERT_EQ(FX->get_Items(0, &item), S_OK);
  EXPECT_EQ(FX->AddTask(item), E_INVALIDARG);  // a wrapper of a task that a grid owns
  long remind = 0;
  EXPECT_EQ(made->get_Remind(&remind), S_OK);  // the container's object still sees the task
  EXPECT_EQ(remind, 5);
  item->Release();
  made->Release();
  FX->get_Count(&count);
  EXPECT_EQ(count, 1);
}

TEST_F(SkedraXTest, ColorTravelsAsASignedLongThroughIDispatch) {
  DISPID id = SkedraXDispId::Color;
  VARIANT arg;
  ::VariantInit(&arg);
  arg.vt = VT_I4;
  arg.lVal = static_cast<LONG>(0x8000000F);  // clBtnFace as a script writes it
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&arg, &named, 1, 1};
  EXPECT_EQ(FX->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr), S_OK);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT result;
  ::VariantInit(&result);
  EXPECT_EQ(FX->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, static_cast<LONG>(0x8000000F));
  OLE_COLOR color = 0;
  FX->get_Color(&color);
  EXPECT_EQ(color, 0x8000000Fu);
}

TEST_F(SkedraXTest, FailuresReachLateBoundCallersAsExceptions) {
  VARIANT arg;
  ::VariantInit(&arg);
  arg.vt = VT_I4;
  arg.lVal = 256;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS put{&arg, &named, 1, 1};
  EXCEPINFO excep{};
  EXPECT_EQ(FX->Invoke(SkedraXDispId::TimeScale, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, &excep, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_STREQ(excep.bstrDescription, L"Range check error");
  EXPECT_STREQ(excep.bstrSource, L"SkedraXControl.SkedraX");
  ::SysFreeString(excep.bstrDescription);
  ::SysFreeString(excep.bstrSource);
  ::SysFreeString(excep.bstrHelpFile);
}

TEST_F(SkedraXTest, FontGoesOutAsAnOleFontAndComesBack) {
  IFontDisp* font = nullptr;
  ASSERT_EQ(FX->get_Font(&font), S_OK);
  IFont* raw = nullptr;
  ASSERT_EQ(font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&raw)), S_OK);
  BSTR name = ::SysAllocString(L"Tahoma");
  raw->put_Name(name);
  ::SysFreeString(name);
  CY size{};
  size.int64 = 12 * 10000;
  raw->put_Size(size);
  raw->put_Bold(TRUE);
  EXPECT_EQ(FX->put_Font(font), S_OK);
  raw->get_Name(&name);  // the face the platform chose for the name
  EXPECT_EQ(Grid().Font().Name, name);
  ::SysFreeString(name);
  raw->Release();
  font->Release();
  EXPECT_EQ(Grid().Font().Size(), 12);
  EXPECT_TRUE(Grid().Font().Style.Contains(fsBold));
  EXPECT_EQ(FX->put_Font(nullptr), E_POINTER);
}

TEST_F(SkedraXTest, NewTaskAsksTheSinkForTheIdAndReportsTheAppend) {
  FSink.NewId = 42;
  Advise(&FSink);
  EXPECT_EQ(FX->NewTask(), S_OK);
  std::vector<TEventRecord> expected{{Ev::OnGetNewID, 42}, {Ev::OnAppendTask, 42}};
  EXPECT_EQ(FSink.Events, expected);
  ITaskObject* task = nullptr;
  ASSERT_EQ(FX->get_Items(0, &task), S_OK);
  long id = 0;
  task->get_ID(&id);
  EXPECT_EQ(id, 42);
  task->Release();
}

TEST_F(SkedraXTest, CancelledNewTaskAddsNothingAfterTheIdRequest) {
  Advise(&FSink);
  FEditor->Confirm = false;
  EXPECT_EQ(FX->NewTask(), S_OK);
  std::vector<TEventRecord> expected{{Ev::OnGetNewID, 0}};
  EXPECT_EQ(FSink.Events, expected);
  long count = -1;
  FX->get_Count(&count);
  EXPECT_EQ(count, 0);
}

TEST_F(SkedraXTest, WithoutASinkNewTasksGetIdZero) {
  EXPECT_EQ(FX->NewTask(), S_OK);
  ITaskObject* task = nullptr;
  ASSERT_EQ(FX->get_Items(0, &task), S_OK);
  long id = -1;
  task->get_ID(&id);
  EXPECT_EQ(id, 0);
  task->Release();
}

TEST_F(SkedraXTest, DeleteRaisesUnselectThenDeleteAndClearRaisesNoDelete) {
  FSink.NewId = 7;
  Advise(&FSink);
  FX->NewTask();
  FSink.NewId = 8;
  FX->NewTask();
  FSink.Events.clear();
  EXPECT_EQ(FX->Delete(7), S_OK);
  std::vector<TEventRecord> expected{{Ev::OnUnselectTask, 7}, {Ev::OnDeleteTask, 7}};
  EXPECT_EQ(FSink.Events, expected);
  FSink.Events.clear();
  EXPECT_EQ(FX->Delete(99), S_OK);
  EXPECT_TRUE(FSink.Events.empty());
  EXPECT_EQ(FX->Clear(), S_OK);
  for (const TEventRecord& event : FSink.Events) EXPECT_NE(event.Id, Ev::OnDeleteTask);
  long count = -1;
  FX->get_Count(&count);
  EXPECT_EQ(count, 0);
}

TEST_F(SkedraXTest, ASinkMayUnadviseOrClearInsideAnEvent) {
  Advise(&FSink);
  FSink.OnEvent = [&](DISPID id) {
    if (id != Ev::OnDeleteTask) return;
    FX->Clear();
    Unadvise();
  };
  AddTask(1.0, 1.1);
  AddTask(1.0, 1.1);
  EXPECT_EQ(FX->Delete(0), S_OK);
  long count = -1;
  FX->get_Count(&count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(FSink.RefCount(), 1u);
  FSink.Events.clear();
  AddTask(1.0, 1.1);
  FX->Delete(0);
  EXPECT_TRUE(FSink.Events.empty());
}

TEST_F(SkedraXTest, ASinkMayReleaseTheLastReferenceInsideAnEvent) {
  Advise(&FSink);
  AddTask(1.0, 1.1);
  FSink.OnEvent = [&](DISPID id) {
    if (id != Ev::OnDeleteTask || FControl == nullptr) return;
    FPoint->Unadvise(FCookie);
    FPoint->Release();
    FCookie = 0;
    FControl->Release();
    FControl = nullptr;
  };
  LONG before = TComServer::Instance().ObjectCount();
  EXPECT_EQ(FX->Delete(0), S_OK);  // the grid finishes the deletion on a live control
  EXPECT_EQ(FControl, nullptr);
  EXPECT_EQ(FSink.RefCount(), 1u);
  EXPECT_EQ(TComServer::Instance().ObjectCount(), before);
  // The last release waits for the message loop.
  for (int i = 0; i < 100 && TComServer::Instance().ObjectCount() != before - 1; ++i) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  EXPECT_EQ(TComServer::Instance().ObjectCount(), before - 1);
}

TEST_F(SkedraXTest, ASinkWithoutTheEventInterfaceIsCalledThroughIDispatch) {
  FSink.DispatchOnly = true;
  FSink.NewId = 5;
  Advise(&FSink);
  FX->NewTask();
  ASSERT_EQ(FSink.Events.size(), 2u);
  EXPECT_EQ(FSink.Events[1], (TEventRecord{Ev::OnAppendTask, 5}));
  DWORD second = 0;
  TEventSink other;
  EXPECT_EQ(FPoint->Advise(&other, &second), CONNECT_E_ADVISELIMIT);
  EXPECT_EQ(second, 0u);
  EXPECT_EQ(FPoint->Unadvise(FCookie + 1), CONNECT_E_NOCONNECTION);
}

}  // namespace
}  // namespace skx::test
