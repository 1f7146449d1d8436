// Server object: live-object accounting and type-library registration.
#include "Framework/Com/ComServer.h"

#include "Framework/Com/ClassFactory.h"
#include "Framework/Com/ComUtil.h"
#include "Framework/Com/Registry.h"
#include "Framework/Win32/WindowAccessible.h"

namespace skx {

TComServer& TComServer::Instance() {
  static TComServer server;
  return server;
}

TComServer::~TComServer() {
  if (FTypeLib != nullptr) FTypeLib->Release();
}

void TComServer::Initialize(HINSTANCE module) {
  FModule = module;
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
  FModulePath.assign(path, length);
}

ITypeLib* TComServer::TypeLib() {
  if (FTypeLib == nullptr) {
    OleCheck(::LoadTypeLibEx(FModulePath.c_str(), REGKIND_NONE, &FTypeLib));
  }
  return FTypeLib;
}

const std::wstring& TComServer::ServerName() {
  if (FServerName.empty()) {
    BSTR name = nullptr;
    OleCheck(TypeLib()->GetDocumentation(-1, &name, nullptr, nullptr, nullptr));
    FServerName = BstrToString(name);
    ::SysFreeString(name);
  }
  return FServerName;
}

void TComServer::AddFactory(TComObjectFactory* factory) { FFactories.push_back(factory); }

TComObjectFactory* TComServer::FindFactory(REFCLSID clsid) const {
  for (TComObjectFactory* factory : FFactories) {
    if (::IsEqualCLSID(factory->ClassId(), clsid)) return factory;
  }
  return nullptr;
}

void TComServer::CountObject(bool created) {
  if (created) {
    ::InterlockedIncrement(&FObjectCount);
  } else {
    ::InterlockedDecrement(&FObjectCount);
  }
}

bool TComServer::CanUnload() const {
  return FObjectCount == 0 && FLockCount == 0 && AccessibleObjectCount() == 0;
}

void TComServer::LockServer(bool lock) {
  if (lock) {
    ::InterlockedIncrement(&FLockCount);
  } else {
    ::InterlockedDecrement(&FLockCount);
  }
}

HRESULT TComServer::RegisterServer() {
  try {
    std::wstring path = FModulePath;
    std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    OleCheck(::RegisterTypeLib(TypeLib(), &path[0], &folder[0]));
    RegisterNeutralTypeLibKey(TypeLib(), FModulePath, true);
    for (TComObjectFactory* factory : FFactories) factory->UpdateRegistry(true);
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT TComServer::UnregisterServer() {
  try {
    TLIBATTR* attr = nullptr;
    OleCheck(TypeLib()->GetLibAttr(&attr));
    TLIBATTR copy = *attr;
    TypeLib()->ReleaseTLibAttr(attr);
    RegisterNeutralTypeLibKey(TypeLib(), FModulePath, false);
    ::UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
    for (TComObjectFactory* factory : FFactories) factory->UpdateRegistry(false);
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace skx
