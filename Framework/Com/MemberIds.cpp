#include "Framework/Com/MemberIds.h"

#include <algorithm>
#include <climits>

#include "Framework/Com/ComUtil.h"

namespace skx {

namespace {

// The vtable view of a dual interface's dispatch view; any other type information as it is.
ITypeInfo* VtableView(ITypeInfo* info) {
  TYPEATTR* attr = nullptr;
  OleCheck(info->GetTypeAttr(&attr));
  const bool dual = attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0;
  info->ReleaseTypeAttr(attr);
  HREFTYPE ref = 0;
  ITypeInfo* view = nullptr;
  if (dual && SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) &&
      SUCCEEDED(info->GetRefTypeInfo(ref, &view)))
    return view;
  info->AddRef();
  return info;
}

}  // namespace

// From the interface down its bases, which a vtable view lists as its one implemented type, to
// IDispatch or IUnknown, whose members no caller reaches by name.
TMemberIds::TMemberIds(ITypeInfo* info) {
  TComRef<ITypeInfo> current(VtableView(info));
  for (;;) {
    TYPEATTR* attr = nullptr;
    OleCheck(current->GetTypeAttr(&attr));
    const IID iid = attr->guid;
    const bool base = attr->typekind != TKIND_INTERFACE || attr->cImplTypes == 0;
    current->ReleaseTypeAttr(attr);
    if (::IsEqualIID(iid, IID_IDispatch) || ::IsEqualIID(iid, IID_IUnknown)) break;
    FInterfaces.push_back(iid);
    ReadMembers(current.Get());
    HREFTYPE ref = 0;
    TComRef<ITypeInfo> next;
    if (base || FAILED(current->GetRefTypeOfImplType(0, &ref)) ||
        FAILED(current->GetRefTypeInfo(ref, next.Receive())))
      break;
    *current.Receive() = VtableView(next.Get());
  }
}

bool TMemberIds::Serves(REFIID riid) const noexcept {
  for (const IID& iid : FInterfaces)
    if (::IsEqualIID(riid, iid)) return true;
  return false;
}

void TMemberIds::ReadMembers(ITypeInfo* info) {
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
