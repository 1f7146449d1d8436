// The module (the control library, or a program linking this layer) that holds this code.
#include "Framework/Win32/Module.h"

#include "Bitmaps/Bitmaps.h"
#include "Framework/Core/Graphics.h"
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

void InitializeWin32Layer() {
  SetSystemColorSource([](int index) { return static_cast<TColor>(::GetSysColor(index)); });
  LoadSharedTaskBitmaps();
}

void ShutdownWin32Layer() {
  UnregisterPeerWindowClass();
  FreeTaskBitmaps();
  FreeResourceBitmaps();
  SetSystemColorSource(nullptr);
}

}  // namespace skx
