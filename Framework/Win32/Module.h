// The module (the control library, or a program linking this layer) that holds this code.
#pragma once

#include <windows.h>

namespace skx {

// Window classes and bitmap resources are looked up in it.
HINSTANCE ThisModule();

// Frees what the layer keeps for the process (window class, resource bitmaps); the library
// calls it when it is unloaded.
void ShutdownWin32Layer();

}  // namespace skx
