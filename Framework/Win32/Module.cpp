// The module (the control library, or a program linking this layer) that holds this code.
#include "Framework/Win32/Module.h"

#include "Framework/Win32/ResourceBitmaps.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx {

namespace {

// Any address inside the module names it.
const int moduleMarker = 0;

}  // namespace

HINSTANCE ThisModule() {
  static HMODULE module = [] {
    HMODULE found = nullptr;
    ::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&moduleMarker), &found);
    return found;
  }();
  return module;
}

void ShutdownWin32Layer() {
  UnregisterPeerWindowClass();
  FreeResourceBitmaps();
}

}  // namespace skx
