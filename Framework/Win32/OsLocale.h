// The user's locale format settings as Windows reports them.
#pragma once

#include "Framework/Core/FormatSettings.h"

namespace skx {

TFormatSettings ReadUserFormatSettings();

}  // namespace skx
