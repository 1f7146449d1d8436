// How the control's modal dialogs meet the container that hosts the control.
#pragma once

#include <windows.h>

namespace skx {

// The in-place active control installs one: its container's window owns the dialogs, and the
// container's frame is told (IOleInPlaceFrame::EnableModeless) to hold back its own modeless
// windows while a dialog is up.
class TModalHost {
 public:
  virtual ~TModalHost() = default;
  virtual HWND ModalOwner() = 0;
  // Must not throw: it also runs while a dialog is being unwound.
  virtual void EnableModeless(bool Enable) = 0;
};

// Null (the default) leaves the dialogs owned by the thread's active window.
void SetModalHost(TModalHost* Host);
TModalHost* GetModalHost();

// Brackets one modal dialog: EnableModeless(false) now, (true) when it goes.
class TModalScope {
 public:
  TModalScope();
  ~TModalScope();
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;
  HWND Owner() const { return FOwner; }

 private:
  TModalHost* FHost;
  HWND FOwner;
};

}  // namespace skx
