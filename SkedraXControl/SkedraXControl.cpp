// The library's entry point and its four exports.
#include <windows.h>
#include <objbase.h>

#include "Framework/Com/ClassFactory.h"
#include "Framework/Com/ComServer.h"
#include "Framework/Core/FormatSettings.h"
#include "Framework/Win32/Module.h"
#include "Framework/Win32/OsLocale.h"
#include "SkedraImpl/Factories.h"

using skx::TComServer;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(instance);
    TComServer::Instance().Initialize(instance);
    skx::SetFormatSettings(skx::ReadUserFormatSettings());
    skx::InitializeWin32Layer();
    skx::CreateFactories();
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary: the process goes on without this module's class and bitmaps.
    skx::ShutdownWin32Layer();
  }
  return TRUE;
}

extern "C" {

HRESULT STDAPICALLTYPE DllUnregisterServer() { return TComServer::Instance().UnregisterServer(); }

HRESULT STDAPICALLTYPE DllRegisterServer() { return TComServer::Instance().RegisterServer(); }

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return TComServer::Instance().CanUnload() ? S_OK : S_FALSE; }

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  skx::TComObjectFactory* factory = TComServer::Instance().FindFactory(clsid);
  if (factory == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
  return factory->QueryInterface(riid, object);
}

}  // extern "C"
