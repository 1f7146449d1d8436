// ActiveX control base: embedding, verbs, in-place activation, keys and ambient properties.
#include "Framework/Com/ActiveXControl.h"

#include "Framework/Com/AmbientProperties.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx {

namespace {

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

// IOleObject

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetClientSite(IOleClientSite* site) {
  FClientSite.Assign(site);
  // A container whose ambients cannot be read still gets its site.
  Trap([&] { ReadAmbient(); });
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
  return Trap([&] {
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
  return Trap([&] {
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

HRESULT STDMETHODCALLTYPE TActiveXControlBase::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs == nullptr) return E_POINTER;
  return ::OleRegEnumVerbs(FFactory.ClassId(), verbs);
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetUserClassID(CLSID* classId) { return GetClassID(classId); }

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetUserType(DWORD form, LPOLESTR* userType) {
  if (userType == nullptr) return E_POINTER;
  return ::OleRegGetUserType(FFactory.ClassId(), form, userType);
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
    Trap([&] {
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

HRESULT STDMETHODCALLTYPE TActiveXControlBase::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = FPeer != nullptr ? FPeer->Handle() : nullptr;
  return *window != nullptr ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::InPlaceDeactivate() {
  return Trap([&] { DeactivateInPlace(); });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::UIDeactivate() {
  return Trap([&] { DeactivateUI(); });
}

HRESULT STDMETHODCALLTYPE TActiveXControlBase::SetObjectRects(LPCRECT posRect, LPCRECT) {
  if (posRect == nullptr) return E_POINTER;
  return Trap([&] { PlaceWindow(*posRect); });
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
  return Trap([&] { ReadAmbient(); });
}

}  // namespace skx
