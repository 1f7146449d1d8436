// The button that empties a field: a push button that takes no focus, with a cross as its glyph.
#pragma once

#include <windows.h>

#include "Framework/Win32/Subclass.h"

namespace skx {

// Takes over a static control made with SS_NOTIFY: it draws a push button with a black cross,
// shows it pressed while the mouse holds it down, and on release over it sends its parent
// WM_COMMAND with BN_CLICKED. Clicking it leaves the focus where it was.
class TClearButton {
 public:
  explicit TClearButton(HWND Static);
  ~TClearButton();
  TClearButton(const TClearButton&) = delete;
  TClearButton& operator=(const TClearButton&) = delete;

 private:
  friend class TSubclass<TClearButton>;
  LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
  void Paint();
  bool Over(LPARAM Point) const;
  void SetPressed(bool Pressed);

  HWND FWindow;
  bool FTracking = false;
  bool FPressed = false;
};

}  // namespace skx
