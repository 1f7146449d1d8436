// The demo's own sizes at the density of the screen its window is on: it declares per-monitor
// awareness, so the system leaves the scaling of its layout to it.
#pragma once

#include <windows.h>

namespace demo {

// The window's pixels per inch (GetDpiForWindow where the system has it, else the screen's).
int WindowDpi(HWND Window);

// A size written for 96 pixels per inch, at Dpi.
inline int Scaled(int Pixels, int Dpi) { return ::MulDiv(Pixels, Dpi, 96); }

}  // namespace demo
