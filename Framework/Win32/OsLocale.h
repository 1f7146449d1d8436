// A locale's format settings as Windows reports them.
#pragma once

#include "Framework/Core/FormatSettings.h"

namespace skx {

TFormatSettings ReadUserFormatSettings();
// The settings of a locale identifier (an LCID) that the system knows (IsValidLocale).
TFormatSettings ReadLocaleFormatSettings(unsigned long locale);

}  // namespace skx
