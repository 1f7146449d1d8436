// Shared helpers of the Windows-side tests, and a COM apartment for the whole test program.
#include "WineTestUtil.h"

#include <objbase.h>

#include "Framework/Com/ComServer.h"

#include <gtest/gtest.h>

namespace skx::test {

namespace {

class TComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
  void TearDown() override { ::CoUninitialize(); }
};

const auto* const comEnvironment = ::testing::AddGlobalTestEnvironment(new TComEnvironment);

template <typename TFunction>
void Bind(HMODULE module, const char* name, TFunction& function) {
  function = reinterpret_cast<TFunction>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring text(path, length);
  return text.substr(0, text.find_last_of(L'\\'));
}

std::wstring OcxPath() { return ProgramFolder() + L"\\SkedraXControl.ocx"; }

bool ReadClassesRootValue(const std::wstring& key, std::wstring& value) {
  wchar_t buffer[1024];
  DWORD size = sizeof(buffer);
  LONG result = ::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size);
  if (result != ERROR_SUCCESS) return false;
  value.assign(buffer);
  return true;
}

bool ClassesRootKeyExists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  ::RegCloseKey(handle);
  return true;
}

bool ClassesRootValueExists(const std::wstring& key, const wchar_t* valueName) {
  return ::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), valueName, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

TServerExports LoadServer(const std::wstring& path) {
  TServerExports exports;
  exports.Module = ::LoadLibraryW(path.c_str());
  if (exports.Module != nullptr) {
    Bind(exports.Module, "DllUnregisterServer", exports.Unregister);
    Bind(exports.Module, "DllRegisterServer", exports.Register);
    Bind(exports.Module, "DllCanUnloadNow", exports.CanUnloadNow);
    Bind(exports.Module, "DllGetClassObject", exports.GetClassObject);
  }
  return exports;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  int length = ::StringFromGUID2(guid, text, 40);
  return std::wstring(text, length > 0 ? length - 1 : 0);
}

HMODULE UseServerInProcess() {
  HMODULE module = ::LoadLibraryW(OcxPath().c_str());
  if (module != nullptr) TComServer::Instance().Initialize(module);
  return module;
}

HMODULE TInProcessServerTest::FModule = nullptr;

void TInProcessServerTest::SetUpTestSuite() {
  FModule = UseServerInProcess();
  ASSERT_NE(FModule, nullptr);
}

void TInProcessServerTest::TearDownTestSuite() { ::FreeLibrary(FModule); }

}  // namespace skx::test
