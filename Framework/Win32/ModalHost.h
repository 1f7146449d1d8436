// How the control's modal dialogs meet the container that hosts the control.
#pragma once

#include <windows.h>

namespace skx {

// Each control has one, asked about every dialog the control shows: while the control is in-place
// active its container's window owns the dialogs, and the container's frame is told
// (IOleInPlaceFrame::EnableModeless) to hold back its own modeless windows while a dialog is up.
class TModalHost {
 public:
  virtual ~TModalHost() = default;
  virtual HWND ModalOwner() = 0;
  // Must not throw: it also runs while a dialog is being unwound.
  virtual void EnableModeless(bool Enable) = 0;
};

// Brackets one modal dialog: EnableModeless(false) now, (true) when it goes. Without a host the
// thread's active window owns the dialog.
class TModalScope {
 public:
  explicit TModalScope(TModalHost* Host);
  ~TModalScope();
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;
  HWND Owner() const { return FOwner; }

 private:
  TModalHost* FHost;
  HWND FOwner;
};

}  // namespace skx
