// The event connection point and its enumerator.
#include "Framework/Com/EventConnection.h"

#include "Framework/Com/ActiveXControl.h"
#include "Framework/Com/ComObject.h"
#include "Framework/Com/SinkCall.h"

namespace skx {

namespace {

// Not counted among the server's objects: it holds the connection point, and so the control.
class TConnectionPointEnum final : public TComObject<IEnumConnectionPoints> {
 public:
  TConnectionPointEnum(IConnectionPoint* point, ULONG position) : TComObject(0), FPosition(position) {
    FPoint.Assign(point);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
    if (points == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG done = 0;
    if (count > 0 && FPosition == 0) {
      points[0] = FPoint.Get();
      points[0]->AddRef();
      FPosition = 1;
      done = 1;
    }
    if (fetched != nullptr) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (count == 0) return S_OK;
    bool all = FPosition == 0 && count == 1;
    FPosition = 1;
    return all ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    FPosition = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override {
    if (copy == nullptr) return E_POINTER;
    *copy = new (std::nothrow) TConnectionPointEnum(FPoint.Get(), FPosition);
    if (*copy == nullptr) return E_OUTOFMEMORY;
    (*copy)->AddRef();
    return S_OK;
  }

 private:
  bool Answers(REFIID riid) const override { return ::IsEqualIID(riid, IID_IEnumConnectionPoints); }

  TComRef<IConnectionPoint> FPoint;
  ULONG FPosition;
};

}  // namespace

IEnumConnectionPoints* NewConnectionPointEnum(IConnectionPoint* point) {
  IEnumConnectionPoints* result = new TConnectionPointEnum(point, 0);
  result->AddRef();
  return result;
}

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IConnectionPoint)) {
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TEventConnectionPoint::AddRef() { return FOwner.Unknown()->AddRef(); }

ULONG STDMETHODCALLTYPE TEventConnectionPoint::Release() { return FOwner.Unknown()->Release(); }

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  return FOwner.Guard([&] { *iid = FOwner.FFactory.EventInterface(); });
}

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  *container = &FOwner;
  FOwner.Unknown()->AddRef();
  return S_OK;
}

// The sink is asked for the event interface first and for IDispatch after.
HRESULT STDMETHODCALLTYPE TEventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr) return E_POINTER;
  if (FSink) return CONNECT_E_ADVISELIMIT;
  TComRef<IDispatch> events;
  HRESULT result = FOwner.Guard([&] { *events.Receive() = QueryEventSink(sink, FOwner.FFactory.EventInterface()); });
  if (FAILED(result) || !events) return CONNECT_E_CANNOTCONNECT;
  FSink.Assign(events.Get());
  *cookie = Cookie;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::Unadvise(DWORD cookie) {
  if (cookie != Cookie || !FSink) return CONNECT_E_NOCONNECTION;
  // The sink may be inside one of its events now: the event call holds its own reference.
  FSink.Reset();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (connections != nullptr) *connections = nullptr;
  return E_NOTIMPL;
}

}  // namespace skx
