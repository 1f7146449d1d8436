// ActiveX control base: construction, interface table, type information, events, property pages.
#include "Framework/Com/ActiveXControl.h"

#include "Framework/Win32/WindowPeer.h"

namespace skx {

HWND TControlModalHost::ModalOwner() {
  HWND owner = nullptr;
  if (FControl.FInPlaceSite) FControl.FInPlaceSite->GetWindow(&owner);
  return owner != nullptr ? ::GetAncestor(owner, GA_ROOT) : ::GetActiveWindow();
}

void TControlModalHost::EnableModeless(bool Enable) {
  if (FControl.FInPlaceFrame) FControl.FInPlaceFrame->EnableModeless(Enable ? TRUE : FALSE);
}

TActiveXControlBase::TActiveXControlBase(TActiveXControlFactory& factory)
    : FFactory(factory), FTrap(factory.ProgID(), IID_NULL), FModalHost(*this) {
  for (size_t i = 0; i < factory.EventInterfaceCount(); ++i)
    FEventPoints.push_back(std::make_unique<TEventConnectionPoint>(*this, i));
}

TActiveXControlBase::~TActiveXControlBase() {
  for (auto& point : FEventPoints) point->Disconnect();
}

void TActiveXControlBase::CreateControl() {
  FControl = FFactory.ControlClass().Create();
  FExtent = HimetricExtent(FControl->Width(), FControl->Height());
  InitializeControl();
}

void TActiveXControlBase::DestroyControl() {
  if (FPeer != nullptr) FPeer->OnSetFocus = nullptr;
  FPeer = nullptr;
  FControl.reset();
}

void TActiveXControlBase::PropertyChanged() {
  FDirty = true;
  ApplyAmbient();
  if (FViewAdviseSink) FViewAdviseSink->OnViewChange(DVASPECT_CONTENT, -1);
}

bool TActiveXControlBase::QueryControlInterface(REFIID riid, void** object) {
  if (::IsEqualIID(riid, IID_IOleObject)) {
    *object = static_cast<IOleObject*>(this);
  } else if (::IsEqualIID(riid, IID_IOleWindow) || ::IsEqualIID(riid, IID_IOleInPlaceObject)) {
    *object = static_cast<IOleInPlaceObject*>(this);
  } else if (::IsEqualIID(riid, IID_IOleInPlaceActiveObject)) {
    *object = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (::IsEqualIID(riid, IID_IOleControl)) {
    *object = static_cast<IOleControl*>(this);
  } else if (::IsEqualIID(riid, IID_IViewObject) || ::IsEqualIID(riid, IID_IViewObject2)) {
    *object = static_cast<IViewObject2*>(this);
  } else if (::IsEqualIID(riid, IID_IPersist) || ::IsEqualIID(riid, IID_IPersistStreamInit)) {
    *object = static_cast<IPersistStreamInit*>(this);
  } else if (::IsEqualIID(riid, IID_IPersistStream)) {
    // IPersistStream is IPersistStreamInit without InitNew, in the same slots.
    *object = static_cast<IPersistStreamInit*>(this);
  } else if (::IsEqualIID(riid, IID_IPersistStorage)) {
    *object = static_cast<IPersistStorage*>(this);
  } else if (::IsEqualIID(riid, IID_IPersistPropertyBag)) {
    *object = static_cast<IPersistPropertyBag*>(this);
  } else if (::IsEqualIID(riid, IID_IQuickActivate)) {
    *object = static_cast<IQuickActivate*>(this);
  } else if (::IsEqualIID(riid, IID_IProvideClassInfo) || ::IsEqualIID(riid, IID_IProvideClassInfo2)) {
    *object = static_cast<IProvideClassInfo2*>(this);
  } else if (::IsEqualIID(riid, IID_IConnectionPointContainer)) {
    *object = static_cast<IConnectionPointContainer*>(this);
  } else if (::IsEqualIID(riid, IID_ISpecifyPropertyPages)) {
    *object = static_cast<ISpecifyPropertyPages*>(this);
  } else {
    return false;
  }
  return true;
}

void TActiveXControlBase::ShowPropertyPages(HWND parent) {
  std::vector<CLSID> pages;
  DefinePages(pages);
  if (pages.empty()) return;
  IUnknown* self = Unknown();
  OleCheck(::OleCreatePropertyFrame(parent, 0, 0, FFactory.ClassName().c_str(), 1, &self,
                                    static_cast<ULONG>(pages.size()), pages.data(), LOCALE_USER_DEFAULT, 0,
                                    nullptr));
}

// IProvideClassInfo2, IConnectionPointContainer, ISpecifyPropertyPages

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetClassInfo(ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  return Trap([&] {
    *info = FFactory.ClassInfo();
    (*info)->AddRef();
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetGUID(DWORD kind, GUID* guid) {
  if (guid == nullptr) return E_POINTER;
  *guid = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  return Trap([&] { *guid = FFactory.EventInterface(); });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points == nullptr) return E_POINTER;
  *points = nullptr;
  return Trap([&] {
    std::vector<IConnectionPoint*> all;
    for (auto& point : FEventPoints) all.push_back(point.get());
    *points = NewConnectionPointEnum(all);
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  return Trap([&] {
    for (size_t i = 0; i < FEventPoints.size(); ++i) {
      if (!::IsEqualIID(riid, FFactory.EventInterface(i))) continue;
      *point = FEventPoints[i].get();
      (*point)->AddRef();
      return;
    }
    throw EOleError(L"No such connection point", CONNECT_E_NOCONNECTION);
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetPages(CAUUID* pages) {
  if (pages == nullptr) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = nullptr;
  return Trap([&] {
    std::vector<CLSID> list;
    DefinePages(list);
    if (list.empty()) return;
    auto* elements = static_cast<GUID*>(::CoTaskMemAlloc(list.size() * sizeof(GUID)));
    if (elements == nullptr) OleCheck(E_OUTOFMEMORY);
    std::copy(list.begin(), list.end(), elements);
    pages->cElems = static_cast<ULONG>(list.size());
    pages->pElems = elements;
  });
}

}  // namespace skx
