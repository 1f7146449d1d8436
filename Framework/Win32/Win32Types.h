// Conversions between the framework's geometry and colours and the Win32 ones.
#pragma once

#include <windows.h>

#include "Framework/Core/Geometry.h"
#include "Framework/Core/Graphics.h"

namespace skx {

constexpr RECT ToRECT(const TRect& rect) { return RECT{rect.Left, rect.Top, rect.Right, rect.Bottom}; }
constexpr TRect ToTRect(const RECT& rect) { return TRect{rect.left, rect.top, rect.right, rect.bottom}; }
constexpr POINT ToPOINT(TPoint point) { return POINT{point.X, point.Y}; }
constexpr TPoint ToTPoint(POINT point) { return TPoint{point.x, point.y}; }

// A system colour (high byte 0x80) becomes the colour the system shows for it now, once the
// layer is initialized (Module.h).
inline COLORREF ColorToCOLORREF(TColor color) {
  return static_cast<COLORREF>(ColorToRGB(color) & 0x00FFFFFFu);
}

}  // namespace skx
