// ISkedraX2, ISkedraXEvents2 and ITaskObject2 beside the first versions: one object answers both,
// IDispatch reaches every member, each event interface has its own connection point, and a sink of
// the first one hears exactly what it always heard.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <vector>

#include "SkedraImpl/SkedraX.h"
#include "SkedraImpl/TaskObjectX.h"
#include "TestContainer.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

namespace Ev = SkedraXEventsDispId;

class SecondInterfacesTest : public TInProcessServerTest {
 protected:
  void SetUp() override {
    FControl = new TSkedraX(SkedraXFactory(), MakeTaskFormEditor);
    FControl->AddRef();
    FX = FControl;
  }
  void TearDown() override {
    for (auto& [point, cookie] : FConnections) {
      point->Unadvise(cookie);
      point->Release();
    }
    EXPECT_EQ(FControl->Release(), 0u);
  }

  TSkedra& Grid() { return dynamic_cast<TSkedra&>(FControl->Control()); }

  void Advise(REFIID events, IUnknown* sink) {
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(FX->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(container->FindConnectionPoint(events, &point), S_OK);
    container->Release();
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sink, &cookie), S_OK);
    FConnections.push_back({point, cookie});
  }

  // A container-made task object; one reference for the caller.
  static ITaskObject2* NewTask(long id, double start) {
    auto* task = new TTaskObjectX(TaskObjectXFactory());
    task->AddRef();
    EXPECT_EQ(task->put_ID(id), S_OK);
    task->put_StartDateTime(start);
    task->put_FinishDateTime(start + 1.0 / 24);
    return task;
  }

  static HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                              VARIANT* result) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{args.empty() ? nullptr : args.data(), (flags & DISPATCH_PROPERTYPUT) ? &named : nullptr,
                      static_cast<UINT>(args.size()), (flags & DISPATCH_PROPERTYPUT) ? 1u : 0u};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
  }

  static VARIANT Bool(bool value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
  }

  long Count() {
    long count = -1;
    EXPECT_EQ(FX->get_Count(&count), S_OK);
    return count;
  }

  TSkedraX* FControl = nullptr;
  ISkedraX2* FX = nullptr;
  std::vector<std::pair<IConnectionPoint*, DWORD>> FConnections;
};

TEST_F(SecondInterfacesTest, OneObjectAnswersBothVersionsAndItsDispatchEveryMember) {
  ISkedraX* first = nullptr;
  ISkedraX2* second = nullptr;
  ASSERT_EQ(FX->QueryInterface(IID_ISkedraX, reinterpret_cast<void**>(&first)), S_OK);
  ASSERT_EQ(FX->QueryInterface(IID_ISkedraX2, reinterpret_cast<void**>(&second)), S_OK);
  EXPECT_EQ(static_cast<ISkedraX*>(second), first);
  ISupportErrorInfo* errorInfo = nullptr;
  ASSERT_EQ(FX->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&errorInfo)), S_OK);
  EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_ISkedraX), S_OK);
  EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_ISkedraX2), S_OK);
  errorInfo->Release();
  first->Release();
  second->Release();

  ITypeInfo* info = nullptr;
  ASSERT_EQ(FX->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_STREQ(name, L"ISkedraX2");
  ::SysFreeString(name);
  info->Release();

  VARIANT result;
  ::VariantInit(&result);
  EXPECT_EQ(InvokeByName(FX, L"WeekStart", DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(InvokeByName(FX, L"AllowDragTasks", DISPATCH_PROPERTYPUT, {Bool(false)}, nullptr), S_OK);
  EXPECT_EQ(InvokeByName(FX, L"allowdragtasks", DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_BOOL);
  EXPECT_EQ(result.boolVal, VARIANT_FALSE);
  EXPECT_FALSE(Grid().AllowDragTasks());
  EXPECT_EQ(InvokeByName(FX, L"Refresh", DISPATCH_METHOD, {}, nullptr), S_OK);
  EXPECT_EQ(InvokeByName(FX, L"Refresh", DISPATCH_METHOD, {Bool(true)}, nullptr), DISP_E_BADPARAMCOUNT);
}

TEST_F(SecondInterfacesTest, EachEventInterfaceHasAConnectionPointOfItsOwn) {
  IConnectionPointContainer* container = nullptr;
  ASSERT_EQ(FX->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
  IEnumConnectionPoints* points = nullptr;
  ASSERT_EQ(container->EnumConnectionPoints(&points), S_OK);
  IConnectionPoint* got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(points->Next(3, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  IID iids[2] = {};
  for (ULONG i = 0; i < fetched; ++i) {
    EXPECT_EQ(got[i]->GetConnectionInterface(&iids[i]), S_OK);
    got[i]->Release();
  }
  EXPECT_TRUE(::IsEqualIID(iids[0], DIID_ISkedraXEvents));
  EXPECT_TRUE(::IsEqualIID(iids[1], DIID_ISkedraXEvents2));
  EXPECT_EQ(points->Reset(), S_OK);
  EXPECT_EQ(points->Skip(2), S_OK);
  EXPECT_EQ(points->Skip(1), S_FALSE);
  points->Release();
  IConnectionPoint* none = reinterpret_cast<IConnectionPoint*>(1);
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &none), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(none, nullptr);
  container->Release();
}

// The first interface's sink hears the task events as ever and nothing of the new ones; the
// second's hears everything, the click and key events and the questions before a change too.
TEST_F(SecondInterfacesTest, TheFirstSinkHearsTodaysEventsAndTheSecondEveryEvent) {
  TEventSink oldSink;
  TEventSink newSink(DIID_ISkedraXEvents2);
  Advise(DIID_ISkedraXEvents, &oldSink);
  Advise(DIID_ISkedraXEvents2, &newSink);
  ITaskObject2* task = NewTask(5, 46365.5);
  ASSERT_EQ(FX->AddTask(task), S_OK);
  task->Release();
  TTaskObject* added = Grid().TaskItems().Items(0).Task();

  Grid().DoClick();
  Grid().DoDblClick();
  wchar_t key = L'a';
  Grid().DoKeyPress(key);
  EXPECT_TRUE(Grid().DoBeforeDeleteTask(added));
  EXPECT_TRUE(Grid().DoBeforeMoveTask(added, 46366.25, 46366.5));
  EXPECT_DOUBLE_EQ(newSink.NewStart, 46366.25);
  EXPECT_DOUBLE_EQ(newSink.NewFinish, 46366.5);
  Grid().DoTaskMoved(added);
  ASSERT_EQ(FX->Delete(5), S_OK);

  const std::vector<TEventRecord> today{{Ev::OnUnselectTask, 5}, {Ev::OnDeleteTask, 5}};
  EXPECT_EQ(oldSink.Events, today);
  const std::vector<TEventRecord> every{{Ev::OnClick, -1},          {Ev::OnDblClick, -1},     {Ev::OnKeyPress, L'a'},
                                        {Ev::OnBeforeDeleteTask, 5}, {Ev::OnBeforeMoveTask, 5}, {Ev::OnTaskMoved, 5},
                                        {Ev::OnUnselectTask, 5},     {Ev::OnDeleteTask, 5}};
  EXPECT_EQ(newSink.Events, every);
}

TEST_F(SecondInterfacesTest, TheSecondSinkCancelsChangesAndSwallowsKeys) {
  TEventSink sink(DIID_ISkedraXEvents2);
  Advise(DIID_ISkedraXEvents2, &sink);
  ITaskObject2* task = NewTask(1, 46365.5);
  ASSERT_EQ(FX->AddTask(task), S_OK);
  task->Release();
  TTaskObject* added = Grid().TaskItems().Items(0).Task();
  sink.Cancel = true;
  EXPECT_FALSE(Grid().DoBeforeMoveTask(added, 46366, 46366));
  EXPECT_FALSE(Grid().DoBeforeResizeTask(added, 46366, 46366));
  EXPECT_FALSE(Grid().DoBeforeDeleteTask(added));
  EXPECT_FALSE(Grid().DoBeforeUpdateTask(added));
  sink.Cancel = false;
  EXPECT_TRUE(Grid().DoBeforeUpdateTask(added));
  sink.Key = 0;
  wchar_t key = L'x';
  Grid().DoKeyPress(key);
  EXPECT_EQ(key, L'\0');
  sink.Key = static_cast<SHORT>(0xE9);
  Grid().DoKeyPress(key);
  EXPECT_EQ(key, L'\u00e9');
}

// A sink of the second interface may leave events unanswered; one of the first fails as it did.
TEST_F(SecondInterfacesTest, AnEventTheSecondSinkDoesNotKnowIsNotAFailure) {
  class TPartialSink : public TEventSink {
   public:
    TPartialSink() : TEventSink(DIID_ISkedraXEvents2) {}
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {
      if (id == Ev::OnClick) return DISP_E_MEMBERNOTFOUND;
      return TEventSink::Invoke(id, riid, lcid, flags, params, result, excep, argErr);
    }
  } sink;
  Advise(DIID_ISkedraXEvents2, &sink);
  EXPECT_NO_THROW(Grid().DoClick());
  Grid().DoDblClick();
  EXPECT_EQ(sink.Events, (std::vector<TEventRecord>{{Ev::OnDblClick, -1}}));
}

TEST_F(SecondInterfacesTest, AddTasksTakesAnArrayOfTaskObjectsAllOrNothing) {
  ITaskObject2* tasks[3] = {NewTask(1, 46365.5), NewTask(2, 46365.6), NewTask(3, 46365.7)};
  auto arrayOf = [](std::vector<IUnknown*> objects) {
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(objects.size()));
    for (LONG i = 0; i < static_cast<LONG>(objects.size()); ++i) {
      VARIANT element;
      ::VariantInit(&element);
      if (objects[i] != nullptr) {
        element.vt = VT_UNKNOWN;
        element.punkVal = objects[i];
      }
      ::SafeArrayPutElement(array, &i, &element);
    }
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_ARRAY | VT_VARIANT;
    value.parray = array;
    return value;
  };
  VARIANT twice = arrayOf({tasks[0], tasks[0]});
  EXPECT_EQ(FX->AddTasks(twice), E_INVALIDARG);
  VARIANT withHole = arrayOf({tasks[0], nullptr, tasks[1]});
  EXPECT_EQ(FX->AddTasks(withHole), E_POINTER);
  VARIANT notAnArray;
  ::VariantInit(&notAnArray);
  notAnArray.vt = VT_I4;
  EXPECT_EQ(FX->AddTasks(notAnArray), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Count(), 0);

  VARIANT all = arrayOf({tasks[0], tasks[1], tasks[2]});
  EXPECT_EQ(FX->AddTasks(all), S_OK);
  EXPECT_EQ(Count(), 3);
  // Their tasks belong to the schedule now.
  EXPECT_EQ(FX->AddTasks(all), E_INVALIDARG);
  EXPECT_EQ(Count(), 3);
  for (VARIANT* value : {&twice, &withHole, &all}) ::VariantClear(value);
  for (ITaskObject2* task : tasks) {
    long id = 0;
    EXPECT_EQ(task->get_ID(&id), S_OK);
    task->Release();
  }
  EXPECT_EQ(FX->Delete(2), S_OK);
  EXPECT_EQ(Count(), 2);
}

TEST_F(SecondInterfacesTest, ATaskIdentifierIsSetUntilTheTaskIsInASchedule) {
  ITaskObject2* task = NewTask(42, 46365.5);
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = 43;
  EXPECT_EQ(InvokeByName(task, L"ID", DISPATCH_PROPERTYPUT, {value}, nullptr), S_OK);
  ASSERT_EQ(FX->AddTask(task), S_OK);
  long id = 0;
  EXPECT_EQ(task->get_ID(&id), S_OK);
  EXPECT_EQ(id, 43);
  EXPECT_EQ(task->put_ID(7), E_UNEXPECTED);
  EXPECT_EQ(LastErrorDescription(), L"The identifier of a task cannot change once it is in a schedule");
  EXPECT_EQ(task->get_ID(&id), S_OK);
  EXPECT_EQ(id, 43);
  task->Release();
  EXPECT_EQ(FX->Delete(43), S_OK);
  EXPECT_EQ(Count(), 0);
}

TEST_F(SecondInterfacesTest, BatchesNestAndAnUnmatchedEndFails) {
  EXPECT_EQ(FX->EndUpdate(), E_UNEXPECTED);
  EXPECT_EQ(FX->BeginUpdate(), S_OK);
  EXPECT_EQ(FX->BeginUpdate(), S_OK);
  EXPECT_EQ(Grid().UpdateCount(), 2);
  EXPECT_EQ(FX->EndUpdate(), S_OK);
  EXPECT_EQ(FX->EndUpdate(), S_OK);
  EXPECT_EQ(Grid().UpdateCount(), 0);
  EXPECT_EQ(FX->EndUpdate(), E_UNEXPECTED);
}

}  // namespace
}  // namespace skx::test
