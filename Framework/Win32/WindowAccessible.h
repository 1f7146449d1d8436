// The IAccessible of a control's client area, over the control's accessible model.
#pragma once

#include <windows.h>

#include "Framework/Core/Controls.h"

namespace skx {

// The answer to WM_GETOBJECT for the client area of a control that has an accessible model: a
// new object for the caller. The object refers to the control weakly: once the control or its
// window is gone, every member fails with CO_E_OBJNOTCONNECTED.
LRESULT AccessibleClientResult(TWinControl& control, HWND window, WPARAM wParam);

// The accessible objects alive; they keep the module that holds their code loaded.
LONG AccessibleObjectCount();

}  // namespace skx
