// Real Win32 windows for the framework's windowed controls.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "Framework/Core/Controls.h"

namespace skx {

// The window of one TWinControl. A top peer is given the window that its control's window is to
// be a child of (a container's window, a test's frame window; null makes a popup window of its
// own); child peers are made by their parent's peer (CreateChildPeer) and need nothing else:
//
//   auto peer = std::make_unique<TWin32WindowPeer>(containerWindow);
//   TWin32WindowPeer& top = *peer;
//   grid.SetPeer(std::move(peer));  // the control owns its peer
//   grid.HandleNeeded();            // creates the grid's window and those of its children
//   top.Handle();                   // the grid's window
//   top.SetParentWindow(other);     // moves it under another window
//
// The window is destroyed with the control's handle or with the peer. Painting (double-buffered,
// through the control's PaintWindow), mouse, keys, focus, scroll bars, context menus and size
// changes go to the control, which routes the mouse to its windowless children, answers which
// pointer shows where (WM_SETCURSOR) and hears when the mouse capture is taken away; WM_GETOBJECT
// is answered from the control's accessible model, if it has one (WindowAccessible.h); timers tick
// through WM_TIMER. Every message handler catches whatever the control throws and shows it
// (ErrorReport.h); nothing reaches the system's code.
class TWin32WindowPeer : public TWindowPeer {
 public:
  explicit TWin32WindowPeer(HWND parentWindow);
  ~TWin32WindowPeer() override;

  HWND Handle() const { return FHandle; }
  void SetParentWindow(HWND parentWindow);
  // Told when the window receives the focus, after the control; it may free the control.
  std::function<void()> OnSetFocus;

  std::unique_ptr<TWindowPeer> CreateChildPeer() override;
  void CreateHandle(const TCreateParams& params, TWindowPeer* parent) override;
  void DestroyHandle() override;
  bool HandleExists() const override { return FHandle != nullptr; }
  TRect ClientRect() const override;
  TPoint ClientToScreen(TPoint point) const override;
  void SetBounds(const TRect& bounds) override;
  void SetFrameStyle(const TCreateParams& params) override;
  void SetVisible(bool visible) override;
  void Invalidate() override;
  void InvalidateRect(const TRect& rect) override;
  void SetFocus() override;
  bool Focused() const override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetCursorShape(int cursor) override;
  void SetScrollBar(bool vertical, int range, int position) override;
  int TrackPopupMenu(TPopupMenu& menu, TPoint screenPoint) override;
  void NotifyAccessibleEvent(TAccessibleEvent event, int element) override;
  void PostCall(std::function<void()> call) override;
  void SetTimer(int id, unsigned milliseconds, std::function<void()> tick) override;
  void KillTimer(int id) override;
  // The window's own density where the system tells it per window, else the screen's.
  int PixelsPerInch() const override;

 private:
  // A message of the peers' own window class: run what PostCall queued.
  static constexpr UINT PostedCallMessage = WM_USER + 1;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The control that messages go to; null while it is being torn down.
  TWinControl* Target() const;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT MouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // False when no control has a menu for the request.
  bool ContextMenu(LPARAM lParam);
  void ScrollMessage(bool vertical, WPARAM wParam);
  void SizeChanged();
  void DpiChanged(int dpi, const RECT& suggested);
  void Paint();
  void RunPostedCalls();
  void RunTimer(WPARAM id);
  // Shows the system's pointer for a shape the framework names (Controls.h); false, showing
  // nothing, for crDefault and for numbers the system has no pointer for.
  static bool ShowSystemCursor(int cursor);

  HWND FParentWindow = nullptr;
  TWin32WindowPeer* FParentPeer = nullptr;
  HWND FHandle = nullptr;
  // What each scroll bar (horizontal, vertical) was last given: the grid sets both after every
  // change of its geometry, and a bar drawn in a visual style is slow to repaint.
  struct TScrollBarState {
    int Range = -1;
    int Position = -1;
  };
  TScrollBarState FScrollBars[2];
  // Set while the core moves the window, so that the size change is not reported back.
  bool FSettingBounds = false;
  std::vector<std::function<void()>> FPostedCalls;
  // The ticks of the window's timers by id; the system kills the timers with the window.
  std::map<int, std::function<void()>> FTimers;
};

// The density of the window where the system tells it per window (Windows 10 1607 on), else that
// of the screen; null asks for the screen's.
int WindowPixelsPerInch(HWND window);

// Shift, Ctrl and Alt as they were when the message being handled was sent.
TShiftState KeyboardShift();

// Removes the window class of the peers; only when no peer window is left.
void UnregisterPeerWindowClass();

}  // namespace skx
