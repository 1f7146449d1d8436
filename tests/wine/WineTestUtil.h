// Helpers shared by the Windows-side tests: where the control is, COM set-up, registry reads.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace skx::test {

// The folder of the running test program, where the build also puts SkedraXControl.ocx.
std::wstring ProgramFolder();
std::wstring OcxPath();

// Reads a key's default value under HKEY_CLASSES_ROOT; false when the key is missing.
bool ReadClassesRootValue(const std::wstring& key, std::wstring& value);
bool ClassesRootKeyExists(const std::wstring& key);
bool ClassesRootValueExists(const std::wstring& key, const wchar_t* valueName);

// The four exports of a loaded copy of the library.
struct TServerExports {
  HMODULE Module = nullptr;
  HRESULT(STDAPICALLTYPE* Unregister)() = nullptr;
  HRESULT(STDAPICALLTYPE* Register)() = nullptr;
  HRESULT(STDAPICALLTYPE* CanUnloadNow)() = nullptr;
  HRESULT(STDAPICALLTYPE* GetClassObject)(REFCLSID, REFIID, void**) = nullptr;
};
TServerExports LoadServer(const std::wstring& path);

std::wstring GuidText(REFGUID guid);

// For tests that make the COM objects in-process: loads the control's module and lets this
// program's server object read its type library from it. The fixture frees the module.
HMODULE UseServerInProcess();

// The fixture of such tests: the module is loaded for the suite and freed after it.
class TInProcessServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();

 private:
  static HMODULE FModule;
};

}  // namespace skx::test
