// Text type of the portable code and the conversions that cross its edges.
#pragma once

#include <string>

namespace skx {

// All texts of the system are wide: a container's BSTR reads back exactly as it was put.
using String = std::wstring;

std::string ToUtf8(const String& text);
String FromUtf8(const std::string& text);

// printf-style formatting of a message with %s (a String), %d (an int) and %% only.
String FormatText(const String& pattern, const String& arg);
String FormatText(const String& pattern, int arg);

}  // namespace skx
