// Class factories: one per creatable class, registered with the server object at start-up.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>

#include "Framework/Com/MemberIds.h"

namespace skx {

class TComServer;

class TComObjectFactory : public IClassFactory {
 public:
  // objectClassName names the implementing class in "Type information missing for class %s".
  TComObjectFactory(TComServer& server, const wchar_t* objectClassName, REFCLSID classId);
  virtual ~TComObjectFactory();
  TComObjectFactory(const TComObjectFactory&) = delete;
  TComObjectFactory& operator=(const TComObjectFactory&) = delete;

  REFCLSID ClassId() const { return FClassId; }
  // Name and description come from the class's entry in the type library.
  const std::wstring& ClassName();
  const std::wstring& Description();
  std::wstring ProgID();
  ITypeInfo* ClassInfo();  // not AddRef'ed

  virtual void UpdateRegistry(bool add);

  // IUnknown: the factory lives as long as the module, so references are not counted.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  // IClassFactory
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 protected:
  // A new object with a reference count of 0.
  virtual IUnknown* CreateComObject() = 0;
  TComServer& Server() { return FServer; }
  // The type information of the class's default interface, or of its default source
  // interface; one reference for the caller.
  ITypeInfo* DefaultTypeInfo(bool source);

 private:
  void LoadClassInfo();
  TComServer& FServer;
  std::wstring FObjectClassName;
  CLSID FClassId;
  ITypeInfo* FClassInfo = nullptr;
  std::wstring FClassName;
  std::wstring FDescription;
};

// Factory of an automation class: multiple instancing, a new object per request.
class TAutoObjectFactory : public TComObjectFactory {
 public:
  using TCreator = std::function<IUnknown*(TAutoObjectFactory&)>;
  // dispatchInterface: a dual interface derived from the class's default one, whose members
  // IDispatch answers for instead (a superset with the same DISPIDs); IID_NULL for the default.
  TAutoObjectFactory(TComServer& server, const wchar_t* objectClassName, REFCLSID classId,
                     TCreator creator, REFIID dispatchInterface = IID_NULL);
  ~TAutoObjectFactory() override;

  // The type information of the interface that IDispatch answers for: the one it hands out, and
  // the one late-bound calls are dispatched through (the vtable view of a dual interface).
  ITypeInfo* DispatchTypeInfo();
  ITypeInfo* InvokeTypeInfo();
  const TMemberIds& MemberIds();
  REFIID DefaultInterface();

 protected:
  IUnknown* CreateComObject() override { return FCreator(*this); }

 private:
  void LoadInterfaceInfo();
  TCreator FCreator;
  ITypeInfo* FDispatchInfo = nullptr;
  ITypeInfo* FInvokeInfo = nullptr;
  TMemberIds FMemberIds;
  IID FDispatchIid;
  IID FDefaultIid = IID_NULL;
};

}  // namespace skx
