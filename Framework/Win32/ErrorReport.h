// What the entry points from the platform do with a failure: show it and go on.
#pragma once

#include <windows.h>

namespace skx {

// Shows the message of the exception being handled; call it only inside a catch block.
// Nothing propagates from here, whatever was thrown.
void ReportCurrentException(HWND owner) noexcept;

}  // namespace skx
