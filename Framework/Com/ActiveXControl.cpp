// ActiveX control base: embedding, verbs, in-place activation, keys, drawing and type information.
#include "Framework/Com/ActiveXControl.h"

#include "Framework/Com/AmbientProperties.h"
#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx {

namespace {

constexpr int HimetricPerInch = 2540;

int ScreenPixelsPerInch(bool horizontal) {
  HDC screen = ::GetDC(nullptr);
  int result = ::GetDeviceCaps(screen, horizontal ? LOGPIXELSX : LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return result > 0 ? result : 96;
}

LONG PixelsToHimetric(int pixels, bool horizontal) {
  return ::MulDiv(pixels, HimetricPerInch, ScreenPixelsPerInch(horizontal));
}

bool IsArrowKey(WPARAM key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }

// Whether the window asks for the key press, as a dialog asks it (WM_GETDLGCODE).
bool WindowTakesKey(const MSG& msg) {
  LRESULT code = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if ((code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0) return true;
  if (msg.wParam == VK_TAB) return (code & DLGC_WANTTAB) != 0;
  return IsArrowKey(msg.wParam) && (code & DLGC_WANTARROWS) != 0;
}

// The values of the platform's KEYMOD_ flags, which the MinGW headers lack.
constexpr DWORD KeyModShift = 1;
constexpr DWORD KeyModControl = 2;
constexpr DWORD KeyModAlt = 4;

DWORD KeyModifiers() {
  const TShiftState shift = KeyboardShift();
  DWORD modifiers = 0;
  if (shift.Contains(ssShift)) modifiers |= KeyModShift;
  if (shift.Contains(ssCtrl)) modifiers |= KeyModControl;
  if (shift.Contains(ssAlt)) modifiers |= KeyModAlt;
  return modifiers;
}

}  // namespace

HWND TControlModalHost::ModalOwner() {
  HWND owner = nullptr;
  if (FControl.FInPlaceSite) FControl.FInPlaceSite->GetWindow(&owner);
  return owner != nullptr ? ::GetAncestor(owner, GA_ROOT) : ::GetActiveWindow();
}

void TControlModalHost::EnableModeless(bool Enable) {
  if (FControl.FInPlaceFrame) FControl.FInPlaceFrame->EnableModeless(Enable ? TRUE : FALSE);
}

TActiveXControlBase::TActiveXControlBase(TActiveXControlFactory& factory)
    : FFactory(factory), FModalHost(*this) {
  for (size_t i = 0; i < factory.EventInterfaceCount(); ++i)
    FEventPoints.push_back(std::make_unique<TEventConnectionPoint>(*this, i));
}

TActiveXControlBase::~TActiveXControlBase() {
  if (GetModalHost() == &FModalHost) SetModalHost(nullptr);
  for (auto& point : FEventPoints) point->Disconnect();
}

void TActiveXControlBase::CreateControl() {
  FControl = FFactory.ControlClass().Create();
  FExtent = {PixelsToHimetric(FControl->Width(), true), PixelsToHimetric(FControl->Height(), false)};
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

// IOleObject

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetClientSite(IOleClientSite* site) {
  FClientSite.Assign(site);
  // A container whose ambients cannot be read still gets its site.
  Guard([&] { ReadAmbient(); });
  return S_OK;
}

void TActiveXControlBase::ReadAmbient() {
  FAmbient = ReadAmbientProperties(FClientSite.Get(), FControl->Font());
  ApplyAmbient();
}

void TActiveXControlBase::ApplyAmbient() { FControl->TakeAmbient(FAmbient); }

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetClientSite(IOleClientSite** site) {
  if (site == nullptr) return E_POINTER;
  *site = FClientSite.Get();
  if (*site != nullptr) (*site)->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Close(DWORD saveOption) {
  return Guard([&] {
    DeactivateInPlace();
    if (saveOption == OLECLOSE_SAVEIFDIRTY && FDirty && FClientSite) FClientSite->SaveObject();
    if (FOleAdviseHolder) FOleAdviseHolder->SendOnClose();
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetClipboardData(DWORD, IDataObject** data) {
  if (data != nullptr) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG,
                                                      HWND parent, LPCRECT posRect) {
  if (verb > 0) return OLEOBJ_S_INVALIDVERB;
  if (verb < OLEIVERB_PROPERTIES || verb == OLEIVERB_OPEN) return E_NOTIMPL;
  return Guard([&] {
    if (!FClientSite && activeSite != nullptr) FClientSite.Assign(activeSite);
    switch (verb) {
      case OLEIVERB_PRIMARY:  // the control's one verb is "Properties"
      case OLEIVERB_PROPERTIES:
        ShowPropertyPages(parent);
        break;
      case OLEIVERB_SHOW:
      case OLEIVERB_INPLACEACTIVATE:
        ActivateInPlace(false, parent, posRect);
        ShowControlWindow(true);
        break;
      case OLEIVERB_UIACTIVATE:
        ActivateInPlace(true, parent, posRect);
        ShowControlWindow(true);
        break;
      case OLEIVERB_HIDE:
        DeactivateUI();
        ShowControlWindow(false);
        break;
      default:  // OLEIVERB_DISCARDUNDOSTATE: the control keeps no undo state
        break;
    }
  });
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

HRESULT STDMETHODCALLTYPE TActiveXControlBase::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs == nullptr) return E_POINTER;
  return ::OleRegEnumVerbs(FFactory.ClassId(), verbs);
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetUserClassID(CLSID* classId) { return GetClassID(classId); }

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetUserType(DWORD form, LPOLESTR* userType) {
  if (userType == nullptr) return E_POINTER;
  return ::OleRegGetUserType(FFactory.ClassId(), form, userType);
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetExtent(DWORD aspect, SIZEL* size) {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size->cx <= 0 || size->cy <= 0) return E_INVALIDARG;
  // The window keeps the size the container gives it with SetObjectRects: hosts compute
  // extents in different ways, the rectangle is what they show.
  FExtent = *size;
  FDirty = true;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetExtent(DWORD aspect, SIZEL* size) {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = FExtent;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Advise(IAdviseSink* sink, DWORD* connection) {
  if (connection == nullptr) return E_POINTER;
  *connection = 0;
  if (!FOleAdviseHolder) {
    HRESULT result = ::CreateOleAdviseHolder(FOleAdviseHolder.Receive());
    if (FAILED(result)) return result;
  }
  return FOleAdviseHolder->Advise(sink, connection);
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Unadvise(DWORD connection) {
  return FOleAdviseHolder ? FOleAdviseHolder->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::EnumAdvise(IEnumSTATDATA** advise) {
  if (advise == nullptr) return E_POINTER;
  *advise = nullptr;
  return FOleAdviseHolder ? FOleAdviseHolder->EnumAdvise(advise) : S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? FFactory.MiscStatus() : 0;
  return S_OK;
}

// In-place activation

void TActiveXControlBase::ActivateInPlace(bool uiActivate, HWND parent, const RECT* posRect) {
  if (!FInPlaceActive) {
    if (!FClientSite) throw EOleError(L"The control has no client site", E_UNEXPECTED);
    OleCheck(FClientSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(FInPlaceSite.Receive())));
    if (FInPlaceSite->CanInPlaceActivate() != S_OK) {
      FInPlaceSite.Reset();
      throw EOleError(L"The container refuses in-place activation", E_FAIL);
    }
    OleCheck(FInPlaceSite->OnInPlaceActivate());
    FInPlaceActive = true;
    HWND siteWindow = nullptr;
    if (SUCCEEDED(FInPlaceSite->GetWindow(&siteWindow)) && siteWindow != nullptr) parent = siteWindow;
    RECT pos{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    if (SUCCEEDED(FInPlaceSite->GetWindowContext(FInPlaceFrame.Receive(), FInPlaceUIWindow.Receive(), &pos,
                                                 &clip, &frameInfo))) {
      posRect = &pos;
    }
    CreateControlWindow(parent);
    if (posRect != nullptr) PlaceWindow(*posRect);
  }
  // The control the user works with last owns the dialogs.
  SetModalHost(&FModalHost);
  if (uiActivate && !FUIActive) {
    FUIActive = true;
    FInPlaceSite->OnUIActivate();
    HWND window = FPeer->Handle();
    if (::GetFocus() != window && !::IsChild(window, ::GetFocus())) ::SetFocus(window);
    IOleInPlaceActiveObject* active = this;
    if (FInPlaceFrame) {
      FInPlaceFrame->SetActiveObject(active, nullptr);
      FInPlaceFrame->SetBorderSpace(nullptr);
    }
    if (FInPlaceUIWindow) {
      FInPlaceUIWindow->SetActiveObject(active, nullptr);
      FInPlaceUIWindow->SetBorderSpace(nullptr);
    }
  }
}

void TActiveXControlBase::CreateControlWindow(HWND parent) {
  if (FPeer == nullptr) {
    auto peer = std::make_unique<TWin32WindowPeer>(parent);
    FPeer = peer.get();
    FControl->SetPeer(std::move(peer));
  } else {
    FPeer->SetParentWindow(parent);
  }
  FControl->HandleNeeded();
  // A focus that reaches the control's window by a click makes the control UI-active, so that
  // the container hands it its keys from then on.
  FPeer->OnSetFocus = [this] {
    Guard([&] {
      if (FInPlaceActive && !FUIActive) ActivateInPlace(true, nullptr, nullptr);
    });
  };
}

void TActiveXControlBase::DeactivateUI() {
  if (!FUIActive) return;
  FUIActive = false;
  if (FInPlaceUIWindow) FInPlaceUIWindow->SetActiveObject(nullptr, nullptr);
  if (FInPlaceFrame) FInPlaceFrame->SetActiveObject(nullptr, nullptr);
  if (FInPlaceSite) FInPlaceSite->OnUIDeactivate(FALSE);
}

void TActiveXControlBase::DeactivateInPlace() {
  if (!FInPlaceActive) return;
  DeactivateUI();
  FInPlaceActive = false;
  if (GetModalHost() == &FModalHost) SetModalHost(nullptr);
  if (FPeer != nullptr) FPeer->OnSetFocus = nullptr;
  FControl->DestroyHandle();
  TComRef<IOleInPlaceSite> site;
  site.Assign(FInPlaceSite.Get());
  FInPlaceSite.Reset();
  FInPlaceFrame.Reset();
  FInPlaceUIWindow.Reset();
  site->OnInPlaceDeactivate();
}

void TActiveXControlBase::ShowControlWindow(bool visible) {
  if (FPeer != nullptr && FPeer->Handle() != nullptr) {
    ::ShowWindow(FPeer->Handle(), visible && FControl->Visible() ? SW_SHOWNA : SW_HIDE);
  }
}

void TActiveXControlBase::PlaceWindow(const RECT& posRect) {
  int width = posRect.right - posRect.left;
  int height = posRect.bottom - posRect.top;
  FControl->SetBounds(posRect.left, posRect.top, width, height);
  if (width > 0 && height > 0) FExtent = {PixelsToHimetric(width, true), PixelsToHimetric(height, false)};
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = FPeer != nullptr ? FPeer->Handle() : nullptr;
  return *window != nullptr ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::InPlaceDeactivate() {
  return Guard([&] { DeactivateInPlace(); });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::UIDeactivate() {
  return Guard([&] { DeactivateUI(); });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetObjectRects(LPCRECT posRect, LPCRECT) {
  if (posRect == nullptr) return E_POINTER;
  return Guard([&] { PlaceWindow(*posRect); });
}

// Keys: the container offers each key to the UI-active control first. The keys that the
// control's window asks for go to it (the grid acts on them as commands, so no character is made
// of them); the rest are the container's, offered through its control site, which is how a Tab
// past the grid's last task moves the focus on.
HRESULT STDMETHODCALLTYPE TActiveXControlBase::TranslateAccelerator(LPMSG msg) {
  if (msg == nullptr) return E_POINTER;
  if (FPeer == nullptr || FPeer->Handle() == nullptr) return S_FALSE;
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return S_FALSE;
  HWND window = FPeer->Handle();
  if (msg->hwnd != window && !::IsChild(window, msg->hwnd)) return S_FALSE;
  if (msg->message == WM_KEYDOWN && WindowTakesKey(*msg)) {
    ::DispatchMessageW(msg);
    return S_OK;
  }
  TComRef<IOleControlSite> site;
  if (!FClientSite ||
      FAILED(FClientSite->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(site.Receive()))))
    return S_FALSE;
  return site->TranslateAccelerator(msg, KeyModifiers()) == S_OK ? S_OK : S_FALSE;
}

// IOleControl

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetControlInfo(CONTROLINFO* info) {
  if (info == nullptr) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::OnAmbientPropertyChange(DISPID id) {
  if (!IsReadAmbient(id)) return S_OK;
  return Guard([&] { ReadAmbient(); });
}

// IViewObject2: the same painting as the window's, windowless children included, into the
// container's DC.

HRESULT STDMETHODCALLTYPE TActiveXControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                                    LPCRECTL bounds, LPCRECTL,
                                                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (dc == nullptr || bounds == nullptr) return E_INVALIDARG;
  return Guard([&] {
    const int width = bounds->right - bounds->left;
    const int height = bounds->bottom - bounds->top;
    if (width <= 0 || height <= 0) return;
    // Without a window the control takes the size it is drawn at. A window keeps its own: drawn
    // at that size, its client area is painted as the window paints it; a picture of another
    // size (a print, a thumbnail) is the window's picture stretched.
    if (!FControl->HandleAllocated()) {
      FControl->SetBounds(0, 0, width, height);
      PaintInto(dc, *bounds, width, height);
    } else if (FControl->Width() == width && FControl->Height() == height) {
      PaintInto(dc, *bounds, FControl->ClientWidth(), FControl->ClientHeight());
    } else if (FControl->Width() > 0 && FControl->Height() > 0) {
      DrawStretched(dc, *bounds);
    }
  });
}

// The area at the bounds' top-left corner, as the window paints its client area.
void TActiveXControlBase::PaintInto(HDC dc, const RECTL& bounds, int width, int height) {
  int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, bounds.left, bounds.top, bounds.left + width, bounds.top + height);
  ::OffsetWindowOrgEx(dc, -bounds.left, -bounds.top, nullptr);
  {
    TGdiCanvas canvas(dc);
    FControl->PaintWindow(canvas, TRect{0, 0, width, height});
  }
  ::RestoreDC(dc, saved);
}

// The window's picture, its client area painted and the rest (the scroll bars) in the button
// face colour, stretched to the bounds: whole pixels are repeated when the picture grows, and
// averaged when it shrinks.
void TActiveXControlBase::DrawStretched(HDC dc, const RECTL& bounds) {
  const int width = FControl->Width();
  const int height = FControl->Height();
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = bitmap != nullptr ? ::SelectObject(memory, bitmap) : nullptr;
  if (memory != nullptr && bitmap != nullptr) {
    const RECT whole{0, 0, width, height};
    ::FillRect(memory, &whole, ::GetSysColorBrush(COLOR_BTNFACE));
    PaintInto(memory, RECTL{0, 0, width, height}, FControl->ClientWidth(), FControl->ClientHeight());
    const int targetWidth = bounds.right - bounds.left;
    const int targetHeight = bounds.bottom - bounds.top;
    const bool shrinks = targetWidth < width || targetHeight < height;
    const int oldMode = ::SetStretchBltMode(dc, shrinks ? HALFTONE : COLORONCOLOR);
    if (shrinks) ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, bounds.left, bounds.top, targetWidth, targetHeight, memory, 0, 0, width, height, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
  }
  if (old != nullptr) ::SelectObject(memory, old);
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  if (memory != nullptr) ::DeleteDC(memory);
  if (bitmap == nullptr) throw EOutOfResources(L"Out of system resources");
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                                           LOGPALETTE** colors) {
  if (colors == nullptr) return E_POINTER;
  *colors = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  if ((aspects & DVASPECT_CONTENT) == 0) return DV_E_DVASPECT;
  FViewAdviseSink.Assign(sink);
  FViewAdviseFlags = flags;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects != nullptr) *aspects = DVASPECT_CONTENT;
  if (flags != nullptr) *flags = FViewAdviseFlags;
  if (sink != nullptr) {
    *sink = FViewAdviseSink.Get();
    if (*sink != nullptr) (*sink)->AddRef();
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

// IQuickActivate: client site, view sink and event sink in one call.

HRESULT STDMETHODCALLTYPE TActiveXControlBase::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (container == nullptr || control == nullptr) return E_POINTER;
  if (container->cbSize < offsetof(QACONTAINER, dwAmbientFlags) || control->cbSize < sizeof(QACONTROL)) {
    return E_INVALIDARG;
  }
  SetClientSite(container->pClientSite);
  if (container->pAdviseSink != nullptr) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  control->dwMiscStatus = FFactory.MiscStatus();
  control->dwViewStatus = 0;
  control->dwEventCookie = 0;
  control->dwPropNotifyCookie = 0;
  control->dwPointerActivationPolicy = 0;
  if (container->pUnkEventSink != nullptr) {
    HRESULT result = FEventPoints[0]->Advise(container->pUnkEventSink, &control->dwEventCookie);
    if (FAILED(result)) return result;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetContentExtent(LPSIZEL size) {
  return SetExtent(DVASPECT_CONTENT, size);
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetContentExtent(LPSIZEL size) {
  return GetExtent(DVASPECT_CONTENT, size);
}

// IProvideClassInfo2, IConnectionPointContainer, ISpecifyPropertyPages

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetClassInfo(ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  return Guard([&] {
    *info = FFactory.ClassInfo();
    (*info)->AddRef();
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetGUID(DWORD kind, GUID* guid) {
  if (guid == nullptr) return E_POINTER;
  *guid = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  return Guard([&] { *guid = FFactory.EventInterface(); });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points == nullptr) return E_POINTER;
  *points = nullptr;
  return Guard([&] {
    std::vector<IConnectionPoint*> all;
    for (auto& point : FEventPoints) all.push_back(point.get());
    *points = NewConnectionPointEnum(all);
  });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  return Guard([&] {
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
  return Guard([&] {
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
