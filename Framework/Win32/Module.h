// The module (the control library, or a program linking this layer) that holds this code.
#pragma once

#include <windows.h>

namespace skx {

// Window classes and bitmap resources are looked up in it.
HINSTANCE ThisModule();

// Sets the layer up for the process: system colours answered by the system, the shared task
// icons loaded. The library calls it when it is loaded.
void InitializeWin32Layer();
// Frees what the layer keeps for the process (window class, bitmaps); the library calls it when
// it is unloaded.
void ShutdownWin32Layer();

}  // namespace skx
