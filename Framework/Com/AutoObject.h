// Automation object base: live-object accounting, IDispatch from the type library,
// ISupportErrorInfo and the error trap.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <utility>

#include "Framework/Com/ClassFactory.h"
#include "Framework/Com/ComObject.h"
#include "Framework/Com/ComServer.h"
#include "Framework/Com/ErrorTrap.h"

namespace skx {

// TInterface is the interface that the class's IDispatch answers for: its default dual interface,
// or a dual interface derived from it.
// Its objects count among the server's, from construction to destruction.
template <typename TInterface>
class TAutoObject : public TComObject<TInterface>, public ISupportErrorInfo {
 public:
  // The factory's type information is resolved here, so that no later member can fail on it.
  explicit TAutoObject(TAutoObjectFactory& factory)
      : TComObject<TInterface>(0),
        FTrap(factory.ProgID(), factory.DefaultInterface()),
        FDispatchInfo(factory.DispatchTypeInfo()),
        FInvokeInfo(factory.InvokeTypeInfo()),
        FMemberIds(factory.MemberIds()) {
    TComServer::Instance().CountObject(true);
  }
  ~TAutoObject() override { TComServer::Instance().CountObject(false); }

  // IUnknown, for both bases
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object != nullptr && ::IsEqualIID(riid, IID_ISupportErrorInfo)) {
      *object = static_cast<ISupportErrorInfo*>(this);
      AddRef();
      return S_OK;
    }
    return TComObject<TInterface>::QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TComObject<TInterface>::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TComObject<TInterface>::Release(); }

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
  // A call fails with the result left empty: the type information's Invoke hands back the
  // member's out-value even when the member failed, and lets through some wrong argument counts.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override {
    if (result != nullptr) ::VariantInit(result);
    if (params != nullptr && !FMemberIds.TakesArguments(id, flags, params->cArgs)) return DISP_E_BADPARAMCOUNT;
    const HRESULT hr =
        FInvokeInfo->Invoke(static_cast<TInterface*>(this), id, flags, params, result, excepInfo, argErr);
    if (FAILED(hr) && result != nullptr) ::VariantClear(result);
    return hr;
  }

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return FMemberIds.Serves(riid) ? S_OK : S_FALSE;
  }

 protected:
  // IDispatch, the dispatch interface and the interfaces it derives from, whose function tables
  // begin its own.
  bool Answers(REFIID riid) const override {
    return ::IsEqualIID(riid, IID_IDispatch) || FMemberIds.Serves(riid);
  }
  // Every interface member runs its body through this (TErrorTrap).
  template <typename... TArgs>
  HRESULT Trap(TArgs&&... args) const noexcept {
    return FTrap(std::forward<TArgs>(args)...);
  }

 private:
  TErrorTrap FTrap;
  ITypeInfo* FDispatchInfo;  // owned by the factory, which lives as long as the module
  ITypeInfo* FInvokeInfo;
  const TMemberIds& FMemberIds;  // the factory's
};

}  // namespace skx
