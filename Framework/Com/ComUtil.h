// Small COM helpers: failure checks, wide strings and GUID texts.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "Framework/Core/Strings.h"

namespace skx {

// Raises EOleError with the system's text for a failed result; returns the result otherwise.
HRESULT OleCheck(HRESULT result);

String BstrToString(BSTR value);
// A new BSTR, or a null BSTR for an empty text (the automation form of an empty string).
BSTR StringToBstr(const String& value);
std::wstring GuidToString(REFGUID guid);

}  // namespace skx
