// The connection point of one of a control's event interfaces: one sink at a time.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <vector>

#include "Framework/Com/ComUtil.h"

namespace skx {

class TActiveXControlBase;

// A part of the control object: its references are the control's.
class TEventConnectionPoint : public IConnectionPoint {
 public:
  // index: which of the factory's event interfaces it serves (0, the default source).
  TEventConnectionPoint(TActiveXControlBase& owner, size_t index) : FOwner(owner), FIndex(index) {}
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
  REFIID Interface() const;

  TActiveXControlBase& FOwner;
  size_t FIndex;
  TComRef<IDispatch> FSink;
};

// An enumerator of the control's connection points, for EnumConnectionPoints.
IEnumConnectionPoints* NewConnectionPointEnum(const std::vector<IConnectionPoint*>& points);

}  // namespace skx
