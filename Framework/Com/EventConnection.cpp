// The event connection point and its enumerator.
#include "Framework/Com/EventConnection.h"

#include <algorithm>
#include <new>

#include "Framework/Com/ActiveXControl.h"
#include "Framework/Com/ComObject.h"
#include "Framework/Com/SinkCall.h"

namespace skx {

namespace {

// Not counted among the server's objects: it holds the connection points, and so the control.
class TConnectionPointEnum final : public TComObject<IEnumConnectionPoints> {
 public:
  TConnectionPointEnum(const std::vector<IConnectionPoint*>& points, size_t position)
      : TComObject(0), FPoints(points.size()), FPosition(position) {
    for (size_t i = 0; i < points.size(); ++i) FPoints[i].Assign(points[i]);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
    if (points == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG done = 0;
    for (; done < count && FPosition < FPoints.size(); ++done, ++FPosition) {
      points[done] = FPoints[FPosition].Get();
      points[done]->AddRef();
    }
    if (fetched != nullptr) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const size_t left = FPoints.size() - FPosition;
    FPosition += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    FPosition = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override {
    if (copy == nullptr) return E_POINTER;
    *copy = nullptr;
    std::vector<IConnectionPoint*> points;
    for (const TComRef<IConnectionPoint>& point : FPoints) points.push_back(point.Get());
    *copy = new (std::nothrow) TConnectionPointEnum(points, FPosition);
    if (*copy == nullptr) return E_OUTOFMEMORY;
    (*copy)->AddRef();
    return S_OK;
  }

 private:
  bool Answers(REFIID riid) const override { return ::IsEqualIID(riid, IID_IEnumConnectionPoints); }

  std::vector<TComRef<IConnectionPoint>> FPoints;
  size_t FPosition;
};

}  // namespace

IEnumConnectionPoints* NewConnectionPointEnum(const std::vector<IConnectionPoint*>& points) {
  IEnumConnectionPoints* result = new TConnectionPointEnum(points, 0);
  result->AddRef();
  return result;
}

REFIID TEventConnectionPoint::Interface() const { return FOwner.FFactory.EventInterface(FIndex); }

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
  return FOwner.Trap([&] { *iid = Interface(); });
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
  HRESULT result = FOwner.Trap([&] { *events.Receive() = QueryEventSink(sink, Interface()); });
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
