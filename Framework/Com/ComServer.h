// The server object of the library: module, live objects, factory locks, type library, registration.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace skx {

class TComObjectFactory;

class TComServer {
 public:
  static TComServer& Instance();
  ~TComServer();
  TComServer(const TComServer&) = delete;
  TComServer& operator=(const TComServer&) = delete;

  void Initialize(HINSTANCE module);
  HINSTANCE Module() const { return FModule; }
  const std::wstring& ModulePath() const { return FModulePath; }
  // The server's name, the type library's name; the first part of every ProgID.
  const std::wstring& ServerName();
  ITypeLib* TypeLib();  // loaded from the module's own resources on first use; not AddRef'ed

  void AddFactory(TComObjectFactory* factory);
  TComObjectFactory* FindFactory(REFCLSID clsid) const;

  void CountObject(bool created);
  void LockServer(bool lock);
  LONG ObjectCount() const { return FObjectCount; }
  // Accessible objects that a screen reader still holds run code of the module too.
  bool CanUnload() const;

  HRESULT RegisterServer();
  HRESULT UnregisterServer();

 private:
  TComServer() = default;
  HINSTANCE FModule = nullptr;
  std::wstring FModulePath;
  std::wstring FServerName;
  ITypeLib* FTypeLib = nullptr;
  std::vector<TComObjectFactory*> FFactories;
  LONG FObjectCount = 0;
  LONG FLockCount = 0;
};

}  // namespace skx
