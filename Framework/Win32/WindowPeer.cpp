// Real Win32 windows for the framework's windowed controls: creation, geometry and menus.
#include "Framework/Win32/WindowPeer.h"

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/Menus.h"
#include "Framework/Win32/ErrorReport.h"
#include "Framework/Win32/Module.h"
#include "Framework/Win32/Win32Types.h"

namespace skx {

namespace {

constexpr const wchar_t* PeerWindowClass = L"SkxControlWindow";

ATOM& PeerClassAtom() {
  static ATOM atom = 0;
  return atom;
}

// Owns a menu handle for the time the menu is shown.
class TMenuHandle {
 public:
  TMenuHandle() : FMenu(::CreatePopupMenu()) {}
  ~TMenuHandle() { ::DestroyMenu(FMenu); }
  TMenuHandle(const TMenuHandle&) = delete;
  TMenuHandle& operator=(const TMenuHandle&) = delete;
  HMENU Get() const { return FMenu; }

 private:
  HMENU FMenu;
};

}  // namespace

void UnregisterPeerWindowClass() {
  if (!PeerClassAtom()) return;
  ::UnregisterClassW(PeerWindowClass, ThisModule());
  PeerClassAtom() = 0;
}

TWin32WindowPeer::TWin32WindowPeer(HWND parentWindow) : FParentWindow(parentWindow) {}

TWin32WindowPeer::~TWin32WindowPeer() { DestroyHandle(); }

void TWin32WindowPeer::SetParentWindow(HWND parentWindow) {
  FParentWindow = parentWindow;
  if (FHandle && !FParentPeer) ::SetParent(FHandle, parentWindow);
}

std::unique_ptr<TWindowPeer> TWin32WindowPeer::CreateChildPeer() {
  auto child = std::make_unique<TWin32WindowPeer>(nullptr);
  child->FParentPeer = this;
  return child;
}

void TWin32WindowPeer::CreateHandle(const TCreateParams& params, TWindowPeer*) {
  if (FHandle) return;
  if (!PeerClassAtom()) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &TWin32WindowPeer::WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = PeerWindowClass;
    PeerClassAtom() = ::RegisterClassExW(&windowClass);
    if (!PeerClassAtom()) throw EInvalidOperation(L"Cannot register the window class");
  }
  HWND parent = FParentPeer ? FParentPeer->FHandle : FParentWindow;
  DWORD style = params.Style;
  if (!parent) style = (style & ~WS_CHILD) | WS_POPUP;
  const TRect& bounds = params.Bounds;
  // The window procedure takes the handle at WM_NCCREATE, before any other message.
  ::CreateWindowExW(params.ExStyle, PeerWindowClass, params.Caption.c_str(), style, bounds.Left,
                    bounds.Top, bounds.Width(), bounds.Height(), parent, nullptr, ThisModule(), this);
  if (!FHandle) throw EOutOfResources(L"Error creating window");
}

void TWin32WindowPeer::DestroyHandle() {
  // WM_NCDESTROY clears the handle.
  if (FHandle) ::DestroyWindow(FHandle);
}

TRect TWin32WindowPeer::ClientRect() const {
  RECT rect{};
  ::GetClientRect(FHandle, &rect);
  return ToTRect(rect);
}

TPoint TWin32WindowPeer::ClientToScreen(TPoint point) const {
  POINT p = ToPOINT(point);
  ::ClientToScreen(FHandle, &p);
  return ToTPoint(p);
}

// Older systems (and some Wine versions) lack GetDpiForWindow.
int WindowPixelsPerInch(HWND window) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window && getDpiForWindow)
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  HDC dc = ::GetDC(window);
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(window, dc);
  return dpi;
}

int TWin32WindowPeer::PixelsPerInch() const { return WindowPixelsPerInch(FHandle); }

void TWin32WindowPeer::SetBounds(const TRect& bounds) {
  FSettingBounds = true;
  ::SetWindowPos(FHandle, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  FSettingBounds = false;
}

void TWin32WindowPeer::SetFrameStyle(const TCreateParams& params) {
  LONG_PTR style = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
  LONG_PTR exStyle = ::GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  ::SetWindowLongPtrW(FHandle, GWL_STYLE, (style & ~LONG_PTR{WS_BORDER}) | (params.Style & WS_BORDER));
  ::SetWindowLongPtrW(FHandle, GWL_EXSTYLE,
                      (exStyle & ~LONG_PTR{WS_EX_CLIENTEDGE}) | (params.ExStyle & WS_EX_CLIENTEDGE));
  ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32WindowPeer::SetVisible(bool visible) { ::ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE); }

void TWin32WindowPeer::Invalidate() { ::InvalidateRect(FHandle, nullptr, FALSE); }

void TWin32WindowPeer::InvalidateRect(const TRect& rect) {
  RECT r = ToRECT(rect);
  ::InvalidateRect(FHandle, &r, FALSE);
}

void TWin32WindowPeer::SetFocus() { ::SetFocus(FHandle); }

bool TWin32WindowPeer::Focused() const { return FHandle && ::GetFocus() == FHandle; }

void TWin32WindowPeer::SetCapture() { ::SetCapture(FHandle); }

void TWin32WindowPeer::ReleaseCapture() {
  if (FHandle && ::GetCapture() == FHandle) ::ReleaseCapture();
}

void TWin32WindowPeer::SetCursorShape(int cursor) {
  if (FHandle && !ShowSystemCursor(cursor))
    ::SetCursor(reinterpret_cast<HCURSOR>(::GetClassLongPtrW(FHandle, GCLP_HCURSOR)));
}

bool TWin32WindowPeer::ShowSystemCursor(int cursor) {
  LPCWSTR id = nullptr;
  switch (cursor) {
    case crNone: ::SetCursor(nullptr); return true;
    case crArrow: id = IDC_ARROW; break;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: return false;
  }
  ::SetCursor(::LoadCursorW(nullptr, id));
  return true;
}

// The bar shows positions 0..range; a range of 0 needs no bar, and the system hides it.
void TWin32WindowPeer::SetScrollBar(bool vertical, int range, int position) {
  TScrollBarState& state = FScrollBars[vertical ? 1 : 0];
  if (state.Range == range && state.Position == position) return;
  state = TScrollBarState{range, position};
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = range;
  info.nPage = 1;
  info.nPos = position;
  ::SetScrollInfo(FHandle, vertical ? SB_VERT : SB_HORZ, &info, TRUE);
}

// The menu, its control and this peer may be gone once the system's menu returns.
int TWin32WindowPeer::TrackPopupMenu(TPopupMenu& menu, TPoint screenPoint) {
  TMenuHandle handle;
  for (int i = 0; i < menu.Count(); ++i) {
    TMenuItem* item = menu.Items(i);
    if (item->IsLine())
      ::AppendMenuW(handle.Get(), MF_SEPARATOR, 0, nullptr);
    else
      ::AppendMenuW(handle.Get(), MF_STRING, static_cast<UINT_PTR>(i) + 1, item->Caption().c_str());
  }
  UINT chosen = ::TrackPopupMenu(handle.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                 screenPoint.X, screenPoint.Y, 0, FHandle, nullptr);
  return static_cast<int>(chosen) - 1;
}

void TWin32WindowPeer::NotifyAccessibleEvent(TAccessibleEvent event, int element) {
  if (FHandle) ::NotifyWinEvent(static_cast<DWORD>(event), FHandle, OBJID_CLIENT, element);
}

void TWin32WindowPeer::PostCall(std::function<void()> call) {
  if (!FHandle) return;
  FPostedCalls.push_back(std::move(call));
  ::PostMessageW(FHandle, PostedCallMessage, 0, 0);
}

void TWin32WindowPeer::SetTimer(int id, unsigned milliseconds, std::function<void()> tick) {
  if (!FHandle) return;
  FTimers[id] = std::move(tick);
  ::SetTimer(FHandle, static_cast<UINT_PTR>(id), milliseconds, nullptr);
}

void TWin32WindowPeer::KillTimer(int id) {
  if (FHandle) ::KillTimer(FHandle, static_cast<UINT_PTR>(id));
  FTimers.erase(id);
}

LRESULT CALLBACK TWin32WindowPeer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* peer = reinterpret_cast<TWin32WindowPeer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    peer = static_cast<TWin32WindowPeer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    peer->FHandle = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
  }
  if (!peer) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    peer->FHandle = nullptr;
    peer->FScrollBars[0] = peer->FScrollBars[1] = TScrollBarState{};
    peer->FPostedCalls.clear();
    peer->FTimers.clear();
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return peer->HandleMessage(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException(window);
    return 0;
  }
}

}  // namespace skx
