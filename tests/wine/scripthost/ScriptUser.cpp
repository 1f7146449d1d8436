// The script host's form: the connected control in place in the tests' container window, and a
// user who drags a task found through the control's accessible tree.
#include "ScriptUser.h"

#include <oleacc.h>

#include <cstdio>

#include "../TestContainer.h"

namespace skx::scripthost {

namespace {

HWND shownControl = nullptr;

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// The screen rectangle of the first list item (a task) among the control's accessible children.
bool FirstTaskLocation(HWND window, RECT& bounds) {
  IAccessible* grid = nullptr;
  if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&grid))))
    return false;
  LONG count = 0;
  grid->get_accChildCount(&count);
  bool found = false;
  for (LONG child = 1; child <= count && !found; ++child) {
    VARIANT id;
    ::VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = child;
    VARIANT role;
    ::VariantInit(&role);
    if (SUCCEEDED(grid->get_accRole(id, &role)) && role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_LISTITEM) {
      LONG left = 0, top = 0, width = 0, height = 0;
      found = SUCCEEDED(grid->accLocation(&left, &top, &width, &height, id)) && width > 0 && height > 0;
      bounds = RECT{left, top, left + width, top + height};
    }
    ::VariantClear(&role);
  }
  grid->Release();
  return found;
}

}  // namespace

bool ShowControl(IUnknown* control) {
  static skx::test::TTestSite site(800, 600);
  IOleObject* object = nullptr;
  if (FAILED(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)))) return false;
  object->SetClientSite(&site);
  shownControl = skx::test::ActivateInPlace(object, site, RECT{10, 10, 810, 610});
  object->Release();
  return shownControl != nullptr;
}

bool DragFirstTask(int dy) {
  RECT bounds{};
  if (shownControl == nullptr || !FirstTaskLocation(shownControl, bounds)) return false;
  POINT press{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
  ::ScreenToClient(shownControl, &press);
  ::SendMessageW(shownControl, WM_LBUTTONDOWN, MK_LBUTTON, Point(press.x, press.y));
  for (int step = 1; step <= 4; ++step)
    ::SendMessageW(shownControl, WM_MOUSEMOVE, MK_LBUTTON, Point(press.x, press.y + dy * step / 4));
  ::SendMessageW(shownControl, WM_LBUTTONUP, 0, Point(press.x, press.y + dy));
  return true;
}

void PumpMessagesFor(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  do {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(10);
  } while (::GetTickCount() - start < milliseconds);
}

}  // namespace skx::scripthost
