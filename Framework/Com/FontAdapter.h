// The font adapter: a framework font as a standard OLE font object, and back.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "Framework/Core/Graphics.h"

namespace skx {

class TFontAdapter {
 public:
  // A new OLE font with the font's face, size and style; one reference for the caller.
  static IFontDisp* GetOleFont(const TFont& font);
  // The OLE font's face, size and style taken into a copy of font; its colour stays.
  static TFont SetOleFont(const TFont& font, IFontDisp* oleFont);
};

}  // namespace skx
