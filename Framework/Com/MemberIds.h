// The DISPIDs of an interface's members by name, read once from its type information: a script
// engine asks for them on every late-bound call, and the type information searches slowly.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <unordered_map>

namespace skx {

class TMemberIds {
 public:
  TMemberIds() = default;
  explicit TMemberIds(ITypeInfo* info);

  // The DISPID of a member named in ASCII, in any letter case; false for any other name (the
  // caller then asks the type information).
  bool Find(const wchar_t* name, DISPID& id) const noexcept;

 private:
  static bool UpperAscii(const wchar_t* name, std::wstring& key);
  std::unordered_map<std::wstring, DISPID> FIds;
};

}  // namespace skx
