#include "Framework/Com/MemberIds.h"

#include <algorithm>
#include <climits>

#include "Framework/Com/ComUtil.h"

namespace skx {

TMemberIds::TMemberIds(ITypeInfo* info) {
  TYPEATTR* attr = nullptr;
  OleCheck(info->GetTypeAttr(&attr));
  const WORD count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  std::wstring key;
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* desc = nullptr;
    OleCheck(info->GetFuncDesc(i, &desc));
    const MEMBERID id = desc->memid;
    FArities.push_back(ArityOf(*desc));
    info->ReleaseFuncDesc(desc);
    BSTR name = nullptr;
    if (SUCCEEDED(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr)) && name != nullptr &&
        UpperAscii(name, key)) {
      FIds.emplace(key, id);
    }
    ::SysFreeString(name);
  }
}

bool TMemberIds::Find(const wchar_t* name, DISPID& id) const noexcept {
  try {
    std::wstring key;
    if (name == nullptr || !UpperAscii(name, key)) return false;
    auto found = FIds.find(key);
    if (found == FIds.end()) return false;
    id = found->second;
    return true;
  } catch (...) {
    return false;
  }
}

bool TMemberIds::TakesArguments(DISPID id, WORD flags, UINT count) const noexcept {
  bool asked = false;
  for (const TArity& arity : FArities) {
    if (arity.Id != id || (arity.Kind & flags) == 0) continue;
    if (count >= arity.Fewest && count <= arity.Most) return true;
    asked = true;
  }
  return !asked;
}

TMemberIds::TArity TMemberIds::ArityOf(const FUNCDESC& desc) {
  UINT passed = 0;
  UINT optional = 0;
  for (SHORT i = 0; i < desc.cParams; ++i) {
    const USHORT flags = desc.lprgelemdescParam[i].paramdesc.wParamFlags;
    if ((flags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)) != 0) continue;
    ++passed;
    if ((flags & PARAMFLAG_FOPT) != 0) ++optional;
  }
  // A variable argument list (cParamsOpt -1) takes its last parameter's place, empty or full.
  const bool varargs = desc.cParamsOpt == -1;
  if (desc.cParamsOpt > 0) optional = std::max(optional, static_cast<UINT>(desc.cParamsOpt));
  if (varargs) ++optional;
  optional = std::min(optional, passed);
  return TArity{desc.memid, static_cast<WORD>(desc.invkind), passed - optional, varargs ? UINT_MAX : passed};
}

bool TMemberIds::UpperAscii(const wchar_t* name, std::wstring& key) {
  key.clear();
  for (; *name != L'\0'; ++name) {
    if (*name > 0x7f) return false;
    key += (*name >= L'a' && *name <= L'z') ? static_cast<wchar_t>(*name - L'a' + L'A') : *name;
  }
  return true;
}

}  // namespace skx
