// ITaskObject of a TaskObjectX made through the class factory, through its vtable and IDispatch.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "SkedraXControl_TLB/SkedraXControl_TLB.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

class TaskObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                                 reinterpret_cast<void**>(&FTask)),
              S_OK);
  }
  void TearDown() override {
    if (FTask != nullptr) FTask->Release();
  }

  std::wstring Description() {
    BSTR value = reinterpret_cast<BSTR>(0xdeadbeef);
    EXPECT_EQ(FTask->get_Description(&value), S_OK);
    std::wstring text = value == nullptr ? L"<null>" : std::wstring(value, ::SysStringLen(value));
    ::SysFreeString(value);
    return text;
  }

  // The error information of the last failed call, as "source|description".
  static std::wstring LastError(GUID* iid = nullptr) {
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0, &info) != S_OK || info == nullptr) return L"<none>";
    BSTR source = nullptr;
    BSTR description = nullptr;
    info->GetSource(&source);
    info->GetDescription(&description);
    if (iid != nullptr) info->GetGUID(iid);
    std::wstring text = std::wstring(source ? source : L"") + L"|" + (description ? description : L"");
    ::SysFreeString(source);
    ::SysFreeString(description);
    info->Release();
    return text;
  }

  ITaskObject* FTask = nullptr;
};

TEST_F(TaskObjectTest, FreshTaskHoldsTheDefaults) {
  long id = -1;
  double start = -1;
  double finish = -1;
  VARIANT_BOOL isPrivate = 5;
  long remind = -1;
  ITaskPriority priority = tpHigh;
  ITaskType type = ttEvent;
  ITaskStatus status = tsSuspend;
  EXPECT_EQ(FTask->get_ID(&id), S_OK);
  EXPECT_EQ(FTask->get_StartDateTime(&start), S_OK);
  EXPECT_EQ(FTask->get_FinishDateTime(&finish), S_OK);
  EXPECT_EQ(FTask->get_IsPrivate(&isPrivate), S_OK);
  EXPECT_EQ(FTask->get_Remind(&remind), S_OK);
  EXPECT_EQ(FTask->get_Priority(&priority), S_OK);
  EXPECT_EQ(FTask->get_TaskType(&type), S_OK);
  EXPECT_EQ(FTask->get_Status(&status), S_OK);
  EXPECT_EQ(id, 0);
  EXPECT_EQ(start, 0.0);
  EXPECT_EQ(finish, 0.0);
  EXPECT_EQ(isPrivate, VARIANT_FALSE);
  EXPECT_EQ(remind, 0);
  EXPECT_EQ(priority, tpNormal);
  EXPECT_EQ(type, ttTask);
  EXPECT_EQ(status, tsActive);
  EXPECT_EQ(Description(), L"<null>");
}

TEST_F(TaskObjectTest, PutsReadBackAsStored) {
  ASSERT_EQ(FTask->put_StartDateTime(36000.375), S_OK);
  ASSERT_EQ(FTask->put_FinishDateTime(35999.5), S_OK);  // before the start: stored unchanged
  ASSERT_EQ(FTask->put_Remind(-5), S_OK);
  ASSERT_EQ(FTask->put_IsPrivate(1), S_OK);
  ASSERT_EQ(FTask->put_Priority(tpHigh), S_OK);
  ASSERT_EQ(FTask->put_TaskType(ttContact), S_OK);
  ASSERT_EQ(FTask->put_Status(tsCompleted), S_OK);
  double start = 0;
  double finish = 0;
  long remind = 0;
  VARIANT_BOOL isPrivate = 0;
  ITaskPriority priority = tpLow;
  ITaskType type = ttTask;
  ITaskStatus status = tsActive;
  FTask->get_StartDateTime(&start);
  FTask->get_FinishDateTime(&finish);
  FTask->get_Remind(&remind);
  FTask->get_IsPrivate(&isPrivate);
  FTask->get_Priority(&priority);
  FTask->get_TaskType(&type);
  FTask->get_Status(&status);
  EXPECT_EQ(start, 36000.375);
  EXPECT_EQ(finish, 35999.5);
  EXPECT_EQ(remind, -5);
  EXPECT_EQ(isPrivate, VARIANT_TRUE);
  EXPECT_EQ(priority, tpHigh);
  EXPECT_EQ(type, ttContact);
  EXPECT_EQ(status, tsCompleted);
}

TEST_F(TaskObjectTest, TextsKeepEveryCharacterAndEmptyReadsAsNull) {
  const std::wstring text = L"Z\u00fcrich \u2014 \u6771\u4eac \U0001F600";
  BSTR value = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  ASSERT_EQ(FTask->put_Description(value), S_OK);
  ASSERT_EQ(FTask->put_Where(value), S_OK);
  ::SysFreeString(value);
  EXPECT_EQ(Description(), text);
  BSTR where = nullptr;
  ASSERT_EQ(FTask->get_Where(&where), S_OK);
  EXPECT_EQ(std::wstring(where, ::SysStringLen(where)), text);
  ::SysFreeString(where);

  BSTR empty = ::SysAllocString(L"");
  ASSERT_EQ(FTask->put_Description(empty), S_OK);
  ::SysFreeString(empty);
  EXPECT_EQ(Description(), L"<null>");
  ASSERT_EQ(FTask->put_Notes(nullptr), S_OK);
  BSTR notes = reinterpret_cast<BSTR>(0xdeadbeef);
  ASSERT_EQ(FTask->get_Notes(&notes), S_OK);
  EXPECT_EQ(notes, nullptr);
}

TEST_F(TaskObjectTest, EnumerationPutOutsideItsConstantsIsRejectedAndChangesNothing) {
  const std::pair<const char*, std::function<HRESULT(long)>> puts[] = {
      {"Priority", [&](long v) { return FTask->put_Priority(static_cast<ITaskPriority>(v)); }},
      {"TaskType", [&](long v) { return FTask->put_TaskType(static_cast<ITaskType>(v)); }},
      {"Status", [&](long v) { return FTask->put_Status(static_cast<ITaskStatus>(v)); }},
  };
  for (const auto& put : puts) {
    for (long bad : {3L, -1L, 256L}) {
      EXPECT_TRUE(FAILED(put.second(bad))) << put.first << " " << bad;
      GUID iid = GUID_NULL;
      std::wstring error = LastError(&iid);
      EXPECT_EQ(error.substr(0, error.find(L'|')), L"SkedraXControl.TaskObjectX") << put.first;
      EXPECT_NE(error.find(std::to_wstring(bad)), std::wstring::npos) << put.first;
      EXPECT_TRUE(::IsEqualGUID(iid, IID_ITaskObject));
    }
  }
  ITaskPriority priority = tpLow;
  ITaskType type = ttEvent;
  ITaskStatus status = tsSuspend;
  FTask->get_Priority(&priority);
  FTask->get_TaskType(&type);
  FTask->get_Status(&status);
  EXPECT_EQ(priority, tpNormal);
  EXPECT_EQ(type, ttTask);
  EXPECT_EQ(status, tsActive);
}

TEST_F(TaskObjectTest, SupportsErrorInfoForItsInterfaceOnly) {
  ISupportErrorInfo* support = nullptr;
  ASSERT_EQ(FTask->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_ITaskObject), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IClassFactory), S_FALSE);
  support->Release();
}

TEST_F(TaskObjectTest, LateBoundCallsGoThroughTheTypeLibrary) {
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(FTask->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  const wchar_t* names[] = {L"ID", L"Description", L"Where", L"IsPrivate"};
  const DISPID expected[] = {1, 6, 11, 4};
  for (size_t i = 0; i < 4; ++i) {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(names[i]);
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, expected[i]) << testing::PrintToString(std::wstring(names[i]));
  }

  VARIANT arg;
  ::VariantInit(&arg);
  arg.vt = VT_BSTR;
  arg.bstrVal = ::SysAllocString(L"Board meeting");
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS putParams = {&arg, &putId, 1, 1};
  EXPECT_EQ(dispatch->Invoke(6, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &putParams, nullptr, nullptr,
                             nullptr),
            S_OK);
  ::VariantClear(&arg);
  EXPECT_EQ(Description(), L"Board meeting");

  arg.vt = VT_I4;
  arg.lVal = 1;
  EXPECT_EQ(dispatch->Invoke(4, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &putParams, nullptr, nullptr,
                             nullptr),
            S_OK);
  VARIANT result;
  ::VariantInit(&result);
  DISPPARAMS noArgs = {nullptr, nullptr, 0, 0};
  ASSERT_EQ(dispatch->Invoke(4, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArgs, &result, nullptr,
                             nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_BOOL);
  EXPECT_EQ(result.boolVal, VARIANT_TRUE);

  arg.vt = VT_I4;
  arg.lVal = 7;
  EXCEPINFO excep = {};
  EXPECT_EQ(dispatch->Invoke(8, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &putParams, nullptr, &excep,
                             nullptr),
            DISP_E_EXCEPTION);
  EXPECT_TRUE(FAILED(excep.scode));
  EXPECT_EQ(std::wstring(excep.bstrSource ? excep.bstrSource : L""), L"SkedraXControl.TaskObjectX");
  EXPECT_NE(excep.bstrDescription, nullptr);
  ::SysFreeString(excep.bstrSource);
  ::SysFreeString(excep.bstrDescription);
  ::SysFreeString(excep.bstrHelpFile);

  // IDispatch answers for ITaskObject2, whose put of ID a task not yet in a schedule takes.
  arg.vt = VT_I4;
  arg.lVal = 2;
  EXPECT_EQ(dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &putParams, nullptr, nullptr,
                             nullptr),
            S_OK);
  long id = 0;
  EXPECT_EQ(FTask->get_ID(&id), S_OK);
  EXPECT_EQ(id, 2);
  dispatch->Release();
}

}  // namespace
}  // namespace skx::test
