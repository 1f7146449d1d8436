// Routing of a peer window's messages to its control: mouse, keys, focus, scrolling, menus, size.
#include <windowsx.h>

#include "Framework/Win32/Win32Types.h"
#include "Framework/Win32/WindowAccessible.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx {

TShiftState KeyboardShift() {
  TShiftState shift;
  if (::GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
  if (::GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
  if (::GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
  return shift;
}

namespace {

// Density messages of systems newer than the version the headers are set to.
constexpr UINT DpiChangedMessage = 0x02E0;
constexpr UINT DpiChangedBeforeParentMessage = 0x02E2;
constexpr UINT DpiChangedAfterParentMessage = 0x02E3;

// The arrows and characters always; Tab, Enter and the other keys only while the control acts
// on them, so that a dialog or a container moves the focus on, or presses its default button,
// with any other.
LRESULT DialogCode(const TWinControl& control, const MSG* msg) {
  const LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (msg == nullptr || msg->message != WM_KEYDOWN) return code;
  const int key = static_cast<int>(msg->wParam);
  if (!control.WantsKey(key, KeyboardShift())) return code;
  return code | (key == VK_TAB ? DLGC_WANTTAB : DLGC_WANTMESSAGE);
}

TShiftState MouseShift(WPARAM keys) {
  TShiftState shift;
  if (keys & MK_SHIFT) shift.Include(ssShift);
  if (keys & MK_CONTROL) shift.Include(ssCtrl);
  if (keys & MK_LBUTTON) shift.Include(ssLeft);
  if (keys & MK_RBUTTON) shift.Include(ssRight);
  if (keys & MK_MBUTTON) shift.Include(ssMiddle);
  if (::GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
  return shift;
}

bool ScrollCode(WORD request, TScrollCode& code) {
  switch (request) {
    case SB_LINEUP: code = scLineUp; return true;
    case SB_LINEDOWN: code = scLineDown; return true;
    case SB_PAGEUP: code = scPageUp; return true;
    case SB_PAGEDOWN: code = scPageDown; return true;
    case SB_THUMBPOSITION: code = scPosition; return true;
    case SB_THUMBTRACK: code = scTrack; return true;
    case SB_TOP: code = scTop; return true;
    case SB_BOTTOM: code = scBottom; return true;
    default: return false;
  }
}

}  // namespace

TWinControl* TWin32WindowPeer::Target() const {
  TWinControl* control = Control();
  return control && !control->IsDestroying() ? control : nullptr;
}

// A handler may free the control and this peer (a menu command, a button click): nothing of
// either is touched after the control was called.
LRESULT TWin32WindowPeer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = FHandle;
  TWinControl* control = Target();
  if (!control) return ::DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return MouseMessage(message, wParam, lParam);
    case WM_CONTEXTMENU:
      // A request that no control takes goes on to the parent window.
      if (ContextMenu(lParam)) return 0;
      break;
    case WM_KEYDOWN: {
      int key = static_cast<int>(wParam);
      control->KeyDown(key, KeyboardShift());
      if (key == 0) return 0;
      break;
    }
    case WM_CHAR: {
      auto key = static_cast<wchar_t>(wParam);
      control->KeyPress(key);
      if (key == 0) return 0;
      break;
    }
    case WM_GETDLGCODE:
      return DialogCode(*control, reinterpret_cast<const MSG*>(lParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // The focused cell is drawn apart.
      ::InvalidateRect(window, nullptr, FALSE);
      if (message == WM_KILLFOCUS || !OnSetFocus) break;
      std::function<void()> told = OnSetFocus;
      told();
      break;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      ScrollMessage(message == WM_VSCROLL, wParam);
      return 0;
    case WM_SIZE:
      SizeChanged();
      break;
    case DpiChangedMessage:
      DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case DpiChangedBeforeParentMessage:
    case DpiChangedAfterParentMessage:
      control->WindowDpiChanged(PixelsPerInch());
      return 0;
    case WM_GETOBJECT:
      if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT) && control->Accessible())
        return AccessibleClientResult(*control, window, wParam);
      break;
    case PostedCallMessage:
      RunPostedCalls();
      return 0;
    case WM_TIMER:
      RunTimer(wParam);
      return 0;
    case WM_SETCURSOR:
      // Over a child window, the child's own answer stands.
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window) {
        POINT point{};
        ::GetCursorPos(&point);
        ::ScreenToClient(window, &point);
        if (ShowSystemCursor(control->WindowCursorAt(point.x, point.y))) return TRUE;
      }
      break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      // The default handling of WM_CANCELMODE releases the capture, which comes back here as
      // WM_CAPTURECHANGED; a window that takes the capture again keeps it.
      if (message == WM_CANCELMODE || reinterpret_cast<HWND>(lParam) != window)
        control->MouseCaptureLost();
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// A call may free the control and this peer: the queue is emptied first, and each call refers
// weakly to what it works on.
void TWin32WindowPeer::RunPostedCalls() {
  std::vector<std::function<void()>> calls;
  calls.swap(FPostedCalls);
  for (std::function<void()>& call : calls) call();
}

// The tick may kill its timer, or free the control and this peer.
void TWin32WindowPeer::RunTimer(WPARAM id) {
  auto found = FTimers.find(static_cast<int>(id));
  if (found == FTimers.end()) return;
  std::function<void()> tick = found->second;
  tick();
}

LRESULT TWin32WindowPeer::MouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = FHandle;
  TWinControl* control = Control();
  int x = GET_X_LPARAM(lParam);
  int y = GET_Y_LPARAM(lParam);
  TShiftState shift = MouseShift(wParam);
  switch (message) {
    case WM_MOUSEMOVE:
      control->WindowMouseMove(shift, x, y);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (message == WM_LBUTTONDBLCLK) shift.Include(ssDouble);
      control->WindowMouseDown(mbLeft, shift, x, y);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (message == WM_RBUTTONDBLCLK) shift.Include(ssDouble);
      control->WindowMouseDown(mbRight, shift, x, y);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      if (message == WM_MBUTTONDBLCLK) shift.Include(ssDouble);
      control->WindowMouseDown(mbMiddle, shift, x, y);
      return 0;
    case WM_LBUTTONUP:
      control->WindowMouseUp(mbLeft, shift, x, y);
      return 0;
    case WM_RBUTTONUP:
      control->WindowMouseUp(mbRight, shift, x, y);
      // The system turns the release into WM_CONTEXTMENU.
      return ::DefWindowProcW(window, message, wParam, lParam);
    default:
      control->WindowMouseUp(mbMiddle, shift, x, y);
      return 0;
  }
}

// The menu of the control under the mouse comes up where the mouse was released; the control's
// own comes up where it says when asked for from the keyboard.
bool TWin32WindowPeer::ContextMenu(LPARAM lParam) {
  TWinControl* control = Control();
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (point.x != -1 || point.y != -1) {
    ::ScreenToClient(FHandle, &point);
    return control->WindowContextPopup(point.x, point.y);
  }
  if (!control->PopupMenu()) return false;
  TPoint at = control->KeyboardPopupPoint();
  control->ContextPopup(at.X, at.Y);
  return true;
}

void TWin32WindowPeer::ScrollMessage(bool vertical, WPARAM wParam) {
  TScrollCode code;
  if (!ScrollCode(LOWORD(wParam), code)) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_TRACKPOS;
  ::GetScrollInfo(FHandle, vertical ? SB_VERT : SB_HORZ, &info);
  Control()->Scroll(vertical, code, info.nTrackPos);
}

// The window goes where the system suggests (given on the screen) before the control takes the
// new density; the size change may free the control and this peer.
void TWin32WindowPeer::DpiChanged(int dpi, const RECT& suggested) {
  HWND window = FHandle;
  TWeakRef<TWinControl> control(Control());
  RECT rect = suggested;
  if (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (TWinControl* live = control.Get()) live->WindowDpiChanged(dpi);
}

// A window that someone else sized (a container, a frame) tells its control the new bounds.
void TWin32WindowPeer::SizeChanged() {
  if (FSettingBounds) return;
  RECT rect{};
  ::GetWindowRect(FHandle, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(FHandle), reinterpret_cast<POINT*>(&rect), 2);
  TRect bounds = ToTRect(rect);
  TWinControl* control = Control();
  if (bounds != control->BoundsRect())
    control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

}  // namespace skx
