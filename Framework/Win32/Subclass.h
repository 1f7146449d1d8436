// Controls taken over by an object of ours through the common controls' subclassing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Framework/Win32/ErrorReport.h"

namespace skx {

// Routes a window's messages to Owner->Handle(Msg, WParam, LParam) from Attach to Detach; a
// failure is shown and the message answered with 0. T befriends TSubclass<T>.
template <typename T>
class TSubclass {
 public:
  static void Attach(HWND Window, T* Owner) {
    ::SetWindowSubclass(Window, Proc, 1, reinterpret_cast<DWORD_PTR>(Owner));
  }
  static void Detach(HWND Window) { ::RemoveWindowSubclass(Window, Proc, 1); }

 private:
  static LRESULT CALLBACK Proc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR,
                               DWORD_PTR Data) {
    try {
      return reinterpret_cast<T*>(Data)->Handle(Msg, WParam, LParam);
    } catch (...) {
      ReportCurrentException(::GetAncestor(Window, GA_ROOT));
      return 0;
    }
  }
};

}  // namespace skx
