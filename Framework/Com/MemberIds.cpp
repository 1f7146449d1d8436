#include "Framework/Com/MemberIds.h"

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

bool TMemberIds::UpperAscii(const wchar_t* name, std::wstring& key) {
  key.clear();
  for (; *name != L'\0'; ++name) {
    if (*name > 0x7f) return false;
    key += (*name >= L'a' && *name <= L'z') ? static_cast<wchar_t>(*name - L'a' + L'A') : *name;
  }
  return true;
}

}  // namespace skx
