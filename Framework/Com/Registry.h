// Registry entries under HKEY_CLASSES_ROOT for registration and unregistration.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace skx {

// Creates the key (and its parents) and sets its default value; raises on failure.
void CreateRegKey(const std::wstring& key, const std::wstring& value);
void CreateRegKeyNoValue(const std::wstring& key);
// Removes the key with everything below it; a missing key is no failure.
void DeleteRegKeyTree(const std::wstring& key);

// The file path as registered: put in double quotes when it contains a blank.
std::wstring QuotedPath(const std::wstring& path);

// Adds (or removes) the language-neutral entry of the type library, so that a lookup with any
// locale finds it; the platform registers a library only under its own locale.
void RegisterNeutralTypeLibKey(ITypeLib* typeLib, const std::wstring& path, bool add);

}  // namespace skx
