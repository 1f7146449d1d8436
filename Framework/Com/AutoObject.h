// Automation object base: reference counting, live-object accounting, IDispatch from the type
// library, ISupportErrorInfo and the error trap.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <utility>

#include "Framework/Com/ClassFactory.h"
#include "Framework/Com/ComServer.h"
#include "Framework/Com/ErrorTrap.h"

namespace skx {

// TInterface is the class's default dual interface (derived from IDispatch).
template <typename TInterface>
class TAutoObject : public TInterface, public ISupportErrorInfo {
 public:
  // The factory's type information is resolved here, so that no later member can fail on it.
  explicit TAutoObject(TAutoObjectFactory& factory)
      : FIid(factory.DefaultInterface()),
        FSource(factory.ProgID()),
        FDispatchInfo(factory.DispatchTypeInfo()),
        FInvokeInfo(factory.InvokeTypeInfo()),
        FMemberIds(factory.MemberIds()) {
    TComServer::Instance().CountObject(true);
  }
  virtual ~TAutoObject() { TComServer::Instance().CountObject(false); }
  TAutoObject(const TAutoObject&) = delete;
  TAutoObject& operator=(const TAutoObject&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IDispatch) ||
        ::IsEqualIID(riid, FIid)) {
      *object = static_cast<TInterface*>(this);
    } else if (::IsEqualIID(riid, IID_ISupportErrorInfo)) {
      *object = static_cast<ISupportErrorInfo*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = --FRefCount;
    if (count == 0) delete this;
    return count;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *info = FDispatchInfo;
    FDispatchInfo->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count == 1 && names != nullptr && ids != nullptr && FMemberIds.Find(names[0], ids[0])) return S_OK;
    return FInvokeInfo->GetIDsOfNames(names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override {
    return FInvokeInfo->Invoke(static_cast<TInterface*>(this), id, flags, params, result, excepInfo, argErr);
  }

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return ::IsEqualIID(riid, FIid) ? S_OK : S_FALSE;
  }

 protected:
  // Every interface member runs its body through this.
  template <typename TBody>
  HRESULT Trap(TBody&& body) noexcept {
    return ComTrap(FSource, FIid, std::forward<TBody>(body));
  }

 private:
  IID FIid;
  std::wstring FSource;
  ITypeInfo* FDispatchInfo;  // owned by the factory, which lives as long as the module
  ITypeInfo* FInvokeInfo;
  const TMemberIds& FMemberIds;  // the factory's
  ULONG FRefCount = 0;
};

}  // namespace skx
