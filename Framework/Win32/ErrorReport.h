// What the entry points from the platform do with a failure: show it and go on.
#pragma once

#include <windows.h>

#include <functional>

#include "Framework/Core/Strings.h"

namespace skx {

// Shows the message of the exception being handled; call it only inside a catch block.
// Nothing propagates from here, whatever was thrown.
void ReportCurrentException(HWND owner) noexcept;

// Where the messages go: a message box unless a test replaces it; an empty reporter restores
// the message box.
using TErrorReporter = std::function<void(const String& message)>;
void SetErrorReporter(TErrorReporter reporter);

}  // namespace skx
