// The connection point of a control's event interface: one sink at a time.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "Framework/Com/ComUtil.h"

namespace skx {

class TActiveXControlBase;

// A part of the control object: its references are the control's.
class TEventConnectionPoint : public IConnectionPoint {
 public:
  explicit TEventConnectionPoint(TActiveXControlBase& owner) : FOwner(owner) {}
  TEventConnectionPoint(const TEventConnectionPoint&) = delete;
  TEventConnectionPoint& operator=(const TEventConnectionPoint&) = delete;

  // Drops the sink (the control is going away).
  void Disconnect() { FSink.Reset(); }
  // The connected sink's event interface, or null; the control calls its events through it.
  IDispatch* Sink() const { return FSink.Get(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

 private:
  static constexpr DWORD Cookie = 1;
  TActiveXControlBase& FOwner;
  TComRef<IDispatch> FSink;
};

// A one-element enumerator of connection points, for EnumConnectionPoints.
IEnumConnectionPoints* NewConnectionPointEnum(IConnectionPoint* point);

}  // namespace skx
