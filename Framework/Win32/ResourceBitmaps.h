// Bitmaps from the module's own resources, loaded once per process.
#pragma once

#include <windows.h>

#include "Framework/Core/Graphics.h"
#include "Framework/Core/Strings.h"

namespace skx {

// The bitmap resource of that name, or null when the module has none; the handle stays valid
// until FreeResourceBitmaps.
HBITMAP ResourceBitmap(const String& name);
void FreeResourceBitmaps();

// Loads the task icons for the whole process (LoadTaskBitmaps) with LoadBitmapW from this
// module; a missing one stays 0 x 0.
void LoadSharedTaskBitmaps();

}  // namespace skx
