// An interface's members, its own and those of the interfaces it derives from, read once from its
// type information: their DISPIDs by name, which a script engine asks for on every late-bound
// call while the type information searches slowly, and the number of arguments each member takes.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace skx {

class TMemberIds {
 public:
  TMemberIds() = default;
  explicit TMemberIds(ITypeInfo* info);

  // The DISPID of a member named in ASCII, in any letter case; false for any other name (the
  // caller then asks the type information).
  bool Find(const wchar_t* name, DISPID& id) const noexcept;

  // False when the member has a function of a kind that Flags asks for (DISPATCH_METHOD,
  // DISPATCH_PROPERTYGET, ...) but none of them takes Count arguments; true otherwise, also
  // for a member or kind that the interface lacks, which the type information then refuses.
  bool TakesArguments(DISPID id, WORD flags, UINT count) const noexcept;

  // Whether riid is the interface or one it derives from (below IDispatch).
  bool Serves(REFIID riid) const noexcept;

 private:
  // The arguments that one function takes: the result and a locale parameter are not passed.
  struct TArity {
    DISPID Id;
    WORD Kind;  // an INVOKEKIND, whose values are those of the DISPATCH_ flags
    UINT Fewest;
    UINT Most;  // UINT_MAX for a function with a variable argument list
  };

  void ReadMembers(ITypeInfo* info);
  static bool UpperAscii(const wchar_t* name, std::wstring& key);
  static TArity ArityOf(const FUNCDESC& desc);
  std::unordered_map<std::wstring, DISPID> FIds;
  std::vector<TArity> FArities;
  std::vector<IID> FInterfaces;
};

}  // namespace skx
