// The server's exports and registry entries, driven the way the platform and regsvr32 drive them.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "SkedraXControl_TLB/SkedraXControl_TLB.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

const std::wstring TaskProgId = L"SkedraXControl.TaskObjectX";
const std::wstring ControlProgId = L"SkedraXControl.SkedraX";

std::wstring TaskClassKey() { return L"CLSID\\" + GuidText(CLSID_TaskObjectX); }
std::wstring ControlClassKey() { return L"CLSID\\" + GuidText(CLSID_SkedraX); }

std::wstring Value(const std::wstring& key) {
  std::wstring value = L"<missing>";
  ReadClassesRootValue(key, value);
  return value;
}

void ExpectTaskClassRegistered(const std::wstring& expectedPath) {
  std::wstring classKey = TaskClassKey();
  EXPECT_EQ(Value(classKey), L"TaskObject");
  EXPECT_EQ(Value(classKey + L"\\ProgID"), TaskProgId);
  EXPECT_EQ(Value(TaskProgId), L"TaskObject");
  EXPECT_EQ(Value(TaskProgId + L"\\Clsid"), GuidText(CLSID_TaskObjectX));
  EXPECT_EQ(Value(classKey + L"\\TypeLib"), GuidText(LIBID_SkedraXControl));
  EXPECT_EQ(Value(classKey + L"\\Version"), L"1.0");
  EXPECT_EQ(_wcsicmp(Value(classKey + L"\\InprocServer32").c_str(), expectedPath.c_str()), 0)
      << "InprocServer32 holds " << testing::PrintToString(Value(classKey + L"\\InprocServer32"));
  EXPECT_FALSE(ClassesRootValueExists(classKey + L"\\InprocServer32", L"ThreadingModel"));
  EXPECT_TRUE(ClassesRootKeyExists(L"TypeLib\\" + GuidText(LIBID_SkedraXControl) + L"\\1.0"));
}

void ExpectControlClassRegistered(const std::wstring& expectedPath) {
  std::wstring classKey = ControlClassKey();
  EXPECT_EQ(Value(classKey), L"SkedraXControl");
  EXPECT_EQ(Value(classKey + L"\\ProgID"), ControlProgId);
  EXPECT_EQ(Value(ControlProgId + L"\\Clsid"), GuidText(CLSID_SkedraX));
  EXPECT_EQ(Value(classKey + L"\\TypeLib"), GuidText(LIBID_SkedraXControl));
  EXPECT_EQ(Value(classKey + L"\\Version"), L"1.0");
  EXPECT_EQ(_wcsicmp(Value(classKey + L"\\InprocServer32").c_str(), expectedPath.c_str()), 0);
  EXPECT_FALSE(ClassesRootValueExists(classKey + L"\\InprocServer32", L"ThreadingModel"));
  EXPECT_TRUE(ClassesRootKeyExists(classKey + L"\\Control"));
  EXPECT_EQ(Value(classKey + L"\\MiscStatus"), L"0");
  EXPECT_EQ(Value(classKey + L"\\MiscStatus\\1"), L"131473");
  EXPECT_EQ(_wcsicmp(Value(classKey + L"\\ToolboxBitmap32").c_str(), (expectedPath + L",1").c_str()), 0);
  EXPECT_TRUE(ClassesRootKeyExists(classKey + L"\\Verb"));
  EXPECT_EQ(Value(classKey + L"\\Verb\\0"), L"Properties,0,2");
}

void ExpectNothingRegistered() {
  EXPECT_FALSE(ClassesRootKeyExists(TaskClassKey()));
  EXPECT_FALSE(ClassesRootKeyExists(TaskProgId));
  EXPECT_FALSE(ClassesRootKeyExists(ControlClassKey()));
  EXPECT_FALSE(ClassesRootKeyExists(ControlProgId));
  EXPECT_FALSE(ClassesRootKeyExists(L"TypeLib\\" + GuidText(LIBID_SkedraXControl)));
}

TEST(Server, RegistrationWritesTheTaskClassEntries) { ExpectTaskClassRegistered(OcxPath()); }

TEST(Server, RegistrationWritesTheControlClassEntries) { ExpectControlClassRegistered(OcxPath()); }

TEST(Server, UnregisterRemovesEveryEntryAndRegisterRestoresThem) {
  TServerExports server = LoadServer(OcxPath());
  ASSERT_NE(server.Module, nullptr);
  ASSERT_EQ(server.Unregister(), S_OK);
  ExpectNothingRegistered();
  ASSERT_EQ(server.Register(), S_OK);
  ExpectTaskClassRegistered(OcxPath());
  ExpectControlClassRegistered(OcxPath());
  ::FreeLibrary(server.Module);
}

TEST(Server, PathWithABlankIsRegisteredInQuotes) {
  std::wstring folder = ProgramFolder() + L"\\with blank";
  std::wstring copy = folder + L"\\SkedraXControl.ocx";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW(OcxPath().c_str(), copy.c_str(), FALSE));
  TServerExports server = LoadServer(copy);
  ASSERT_NE(server.Module, nullptr);
  ASSERT_EQ(server.Register(), S_OK);
  ExpectTaskClassRegistered(L"\"" + copy + L"\"");
  ExpectControlClassRegistered(L"\"" + copy + L"\"");
  ASSERT_EQ(server.Unregister(), S_OK);
  ::FreeLibrary(server.Module);

  TServerExports original = LoadServer(OcxPath());
  ASSERT_EQ(original.Register(), S_OK);
  ::FreeLibrary(original.Module);
  ExpectTaskClassRegistered(OcxPath());
}

TEST(Server, UnknownClassIsNotAvailable) {
  TServerExports server = LoadServer(OcxPath());
  ASSERT_NE(server.Module, nullptr);
  void* object = reinterpret_cast<void*>(0xdeadbeef);
  EXPECT_EQ(server.GetClassObject(IID_IDispatch, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(server.GetClassObject(CLSID_TaskObjectX, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  object = reinterpret_cast<void*>(0xdeadbeef);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  factory->Release();
  ::FreeLibrary(server.Module);
}

TEST(Server, CanUnloadOnlyWithoutLiveObjectsOrLocks) {
  TServerExports server = LoadServer(OcxPath());
  ASSERT_NE(server.Module, nullptr);
  ASSERT_EQ(server.CanUnloadNow(), S_OK);

  ITaskObject* task = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                               reinterpret_cast<void**>(&task)),
            S_OK);
  EXPECT_EQ(server.CanUnloadNow(), S_FALSE);
  ITaskObject* second = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                               reinterpret_cast<void**>(&second)),
            S_OK);
  EXPECT_NE(task, second);
  task->Release();
  EXPECT_EQ(server.CanUnloadNow(), S_FALSE);
  second->Release();
  EXPECT_EQ(server.CanUnloadNow(), S_OK);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(server.GetClassObject(CLSID_TaskObjectX, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(server.CanUnloadNow(), S_FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(server.CanUnloadNow(), S_OK);
  factory->Release();
  ::FreeLibrary(server.Module);
}

}  // namespace
}  // namespace skx::test
