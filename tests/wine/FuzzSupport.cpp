#include "FuzzSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

#include "WineTestUtil.h"

namespace skx::test {

std::string Narrow(const std::wstring& text) {
  std::string result;
  for (wchar_t c : text) result += c >= 32 && c < 127 ? static_cast<char>(c) : '?';
  return result;
}

TCallLog::TCallLog(const std::wstring& name) { FFile = ::_wfopen((ProgramFolder() + L"\\" + name).c_str(), L"w"); }

TCallLog::~TCallLog() {
  if (FFile != nullptr) std::fclose(FFile);
}

void TCallLog::Write(const std::string& text) {
  ++FCalls;
  if (FFile == nullptr) return;
  std::fprintf(FFile, "%ld %s\n", FCalls, text.c_str());
  std::fflush(FFile);
}

TDialogAnswerer::TDialogAnswerer(DWORD thread, HWND keep) : FThread(thread), FKeep(keep) {
  FWorker = std::thread([this] {
    while (!FDone) {
      ::EnumThreadWindows(FThread, &TDialogAnswerer::Answer, reinterpret_cast<LPARAM>(this));
      ::Sleep(10);
    }
  });
}

TDialogAnswerer::~TDialogAnswerer() {
  FDone = true;
  FWorker.join();
}

BOOL CALLBACK TDialogAnswerer::Answer(HWND window, LPARAM self) {
  auto* answerer = reinterpret_cast<TDialogAnswerer*>(self);
  if (window == answerer->FKeep || !::IsWindowVisible(window) || !::IsWindowEnabled(window)) return TRUE;
  long count = answerer->FAnswered++;
  ::PostMessageW(window, WM_COMMAND, count % 2 == 0 ? IDOK : IDCANCEL, 0);
  return TRUE;
}

TFuzzValue::TFuzzValue() { ::VariantInit(&Value); }

TFuzzValue::TFuzzValue(const VARIANT& value) {
  ::VariantInit(&Value);
  if (value.vt == VT_BSTR) {  // a null or NUL-holding BSTR is copied as it is
    Value.vt = VT_BSTR;
    Value.bstrVal = value.bstrVal == nullptr ? nullptr
                                             : ::SysAllocStringLen(value.bstrVal, ::SysStringLen(value.bstrVal));
  } else {
    ::VariantCopy(&Value, const_cast<VARIANT*>(&value));
  }
}

TFuzzValue::TFuzzValue(const TFuzzValue& other) : TFuzzValue(other.Value) {}

TFuzzValue& TFuzzValue::operator=(const TFuzzValue& other) {
  if (this != &other) {
    ::VariantClear(&Value);
    TFuzzValue copy(other.Value);
    Value = copy.Value;
    copy.Value.vt = VT_EMPTY;
  }
  return *this;
}

TFuzzValue::~TFuzzValue() { ::VariantClear(&Value); }

std::string TFuzzValue::Text() const {
  std::ostringstream out;
  out << "vt" << Value.vt << ":";
  switch (Value.vt) {
    case VT_I2: out << Value.iVal; break;
    case VT_I4: out << Value.lVal; break;
    case VT_BOOL: out << Value.boolVal; break;
    case VT_R8:
    case VT_DATE: out << Value.dblVal; break;
    case VT_BSTR:
      if (Value.bstrVal == nullptr) {
        out << "null";
      } else {
        out << ::SysStringLen(Value.bstrVal) << " chars '" << Narrow(std::wstring(Value.bstrVal).substr(0, 16)) << "'";
      }
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN: out << static_cast<const void*>(Value.punkVal); break;
    default: break;
  }
  return out.str();
}

namespace {

TFuzzValue Of(VARTYPE type, LONGLONG number) {
  VARIANT value;
  ::VariantInit(&value);
  value.vt = type;
  switch (type) {
    case VT_I2: value.iVal = static_cast<SHORT>(number); break;
    case VT_BOOL: value.boolVal = static_cast<VARIANT_BOOL>(number); break;
    case VT_ERROR: value.scode = static_cast<SCODE>(number); break;
    default: value.lVal = static_cast<LONG>(number); break;
  }
  return TFuzzValue(value);
}

TFuzzValue OfDouble(VARTYPE type, double number) {
  VARIANT value;
  ::VariantInit(&value);
  value.vt = type;
  value.dblVal = number;
  return TFuzzValue(value);
}

TFuzzValue OfText(const std::wstring& text, bool null = false) {
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = null ? nullptr : ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  TFuzzValue result(value);
  ::SysFreeString(value.bstrVal);
  return result;
}

void AddIntegers(VARTYPE type, std::vector<TFuzzValue>& values) {
  for (LONGLONG n : {0LL, 1LL, -1LL, 2LL, -2LL, 255LL, 256LL, 32767LL, -32768LL, 0x7FFFFFFFLL, 0x80000000LL}) {
    bool fitsShort = n >= -32768 && n <= 32767;
    values.push_back(Of(type == VT_I2 && fitsShort ? VT_I2 : VT_I4, n));
  }
}

void AddEnumeration(ITypeInfo* info, TYPEATTR* attr, std::vector<TFuzzValue>& values) {
  LONG last = -1;
  for (UINT i = 0; i < attr->cVars; ++i) {
    VARDESC* var = nullptr;
    if (FAILED(info->GetVarDesc(i, &var))) continue;
    if (var->varkind == VAR_CONST && var->lpvarValue != nullptr) {
      VARIANT number;
      ::VariantInit(&number);
      if (SUCCEEDED(::VariantChangeType(&number, var->lpvarValue, 0, VT_I4))) {
        values.push_back(Of(VT_I4, number.lVal));
        if (number.lVal > last) last = number.lVal;
      }
    }
    info->ReleaseVarDesc(var);
  }
  for (LONGLONG n : {-1LL, static_cast<LONGLONG>(last) + 1, 0x7FFFFFFFLL}) values.push_back(Of(VT_I4, n));
}

void AddObjects(const TFuzzObjects& objects, std::vector<TFuzzValue>& values) {
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_DISPATCH;
  values.emplace_back(value);  // null
  for (IDispatch* object : objects.Objects) {
    value.pdispVal = object;
    values.emplace_back(value);
  }
}

void AddDoubles(VARTYPE type, std::vector<TFuzzValue>& values) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double d : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -0.0, 1e308, 5e-324, -657435.0, -657434.0,
                   2958465.0, 2958466.0, -1.25, 0.99999999}) {
    values.push_back(OfDouble(type, d));
  }
}

void AddTexts(std::vector<TFuzzValue>& values) {
  values.push_back(OfText(L"", true));
  values.push_back(OfText(L""));
  values.push_back(OfText(std::wstring(L"a\0b", 3)));
  values.push_back(OfText(std::wstring(65536, L'x')));
  values.push_back(OfText(L"\xD800x\xDC00"));
  values.push_back(OfText(L"\x65E5\x672C\x0416\xD83D\xDE00"));
}

}  // namespace

std::vector<TFuzzValue> BoundaryValues(ITypeInfo* owner, const TYPEDESC& type, const TFuzzObjects& objects) {
  std::vector<TFuzzValue> values;
  switch (type.vt) {
    case VT_PTR: return BoundaryValues(owner, *type.lptdesc, objects);
    case VT_USERDEFINED: {
      ITypeInfo* ref = nullptr;
      if (FAILED(owner->GetRefTypeInfo(type.hreftype, &ref))) break;
      TYPEATTR* attr = nullptr;
      if (SUCCEEDED(ref->GetTypeAttr(&attr))) {
        if (attr->typekind == TKIND_ALIAS) {
          values = BoundaryValues(ref, attr->tdescAlias, objects);
        } else if (attr->typekind == TKIND_ENUM) {
          AddEnumeration(ref, attr, values);
        } else {
          AddObjects(objects, values);
        }
        ref->ReleaseTypeAttr(attr);
      }
      ref->Release();
      break;
    }
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
      AddIntegers(type.vt, values);
      break;
    case VT_BOOL:
      for (LONGLONG n : {0LL, -1LL, 1LL, 10000LL}) values.push_back(Of(VT_BOOL, n));
      break;
    case VT_R4: case VT_R8: case VT_DATE: AddDoubles(type.vt == VT_DATE ? VT_DATE : VT_R8, values); break;
    case VT_BSTR: AddTexts(values); break;
    case VT_DISPATCH: case VT_UNKNOWN: AddObjects(objects, values); break;
    case VT_VARIANT:
      AddIntegers(VT_I4, values);
      AddTexts(values);
      break;
    default: break;
  }
  if (values.empty()) values.emplace_back();
  return values;
}

std::vector<TFuzzValue> WrongTypeValues() {
  static LONG byRef = 3;
  VARIANT reference;
  ::VariantInit(&reference);
  reference.vt = VT_BYREF | VT_I4;
  reference.plVal = &byRef;
  VARIANT null;
  ::VariantInit(&null);
  null.vt = VT_NULL;
  return {TFuzzValue(), TFuzzValue(null), Of(VT_ERROR, DISP_E_PARAMNOTFOUND), OfText(L"junk"),
          OfDouble(VT_R8, 1e300), TFuzzValue(reference)};
}

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

}  // namespace

int DescendantWindows(HWND parent) {
  int count = 0;
  ::EnumChildWindows(parent, &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::vector<POINT> MarkerPoints(double timeOfDay) {
  const int minutes = static_cast<int>(timeOfDay * 1440 + 0.5);
  const int row = 1 + (minutes + 14) / 15;
  const int weeklyColumn = (600 - 50 - 7) / 5;
  std::vector<POINT> points;
  for (int day = 0; day < 5; ++day) points.push_back(POINT{50 + day * weeklyColumn + 14, row * 17 + 4});
  return points;
}

void ClickAt(HWND window, POINT at, bool right) {
  LPARAM where = MAKELPARAM(at.x, at.y);
  ::SendMessageW(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, where);
  ::SendMessageW(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, where);
}

std::string MemberName(ITypeInfo* info, MEMBERID id) {
  BSTR name = nullptr;
  UINT count = 0;
  std::string text = "?";
  if (SUCCEEDED(info->GetNames(id, &name, 1, &count)) && count == 1) text = Narrow(name);
  ::SysFreeString(name);
  return text;
}

namespace {

// A call's arguments in DISPPARAMS order (last first) with the named ones at the front.
struct TCallArgs {
  std::vector<TFuzzValue> Values;
  std::vector<DISPID> Names;
};

TCallArgs Positional(const std::vector<TFuzzValue>& inOrder, bool isPut) {
  TCallArgs args;
  args.Values.assign(inOrder.rbegin(), inOrder.rend());
  if (isPut && !inOrder.empty()) args.Names.push_back(DISPID_PROPERTYPUT);
  return args;
}

WORD DispatchFlags(INVOKEKIND kind) {
  switch (kind) {
    case INVOKE_PROPERTYGET: return DISPATCH_PROPERTYGET | DISPATCH_METHOD;
    case INVOKE_PROPERTYPUT: return DISPATCH_PROPERTYPUT;
    case INVOKE_PROPERTYPUTREF: return DISPATCH_PROPERTYPUTREF;
    default: return DISPATCH_METHOD;
  }
}

std::string KindText(INVOKEKIND kind) {
  switch (kind) {
    case INVOKE_PROPERTYGET: return "get";
    case INVOKE_PROPERTYPUT: return "put";
    case INVOKE_PROPERTYPUTREF: return "putref";
    default: return "call";
  }
}

void FreeExcepInfo(EXCEPINFO& excep) {
  ::SysFreeString(excep.bstrSource);
  ::SysFreeString(excep.bstrDescription);
  ::SysFreeString(excep.bstrHelpFile);
  excep = EXCEPINFO{};
}

HRESULT Dispatch(IDispatch* object, ITypeInfo* vtable, IUnknown* vtableObject, MEMBERID id, WORD flags,
                 TCallArgs& args, VARIANT* result) {
  std::vector<VARIANT> raw;
  for (TFuzzValue& value : args.Values) raw.push_back(value.Value);
  DISPPARAMS params{raw.empty() ? nullptr : raw.data(), args.Names.empty() ? nullptr : args.Names.data(),
                    static_cast<UINT>(raw.size()), static_cast<UINT>(args.Names.size())};
  EXCEPINFO excep{};
  UINT argErr = 0;
  HRESULT hr = vtable != nullptr ? vtable->Invoke(vtableObject, id, flags, &params, result, &excep, &argErr)
                                 : object->Invoke(id, IID_NULL, 0, flags, &params, result, &excep, &argErr);
  FreeExcepInfo(excep);
  return hr;
}

}  // namespace

void TMemberFuzzer::FuzzObject(IDispatch* object, const std::string& name, int depth) {
  ITypeInfo* info = nullptr;
  if (object == nullptr || FAILED(object->GetTypeInfo(0, 0, &info)) || info == nullptr) return;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) {
    info->Release();
    return;
  }
  ITypeInfo* vtable = nullptr;
  HREFTYPE href = 0;
  if (attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0 &&
      SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &href))) {
    info->GetRefTypeInfo(href, &vtable);
  }
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func))) continue;
    if ((func->wFuncFlags & (FUNCFLAG_FRESTRICTED | FUNCFLAG_FHIDDEN)) == 0) {
      FuzzMember(object, info, vtable, *func, name, depth);
    }
    info->ReleaseFuncDesc(func);
  }
  if (vtable != nullptr) vtable->Release();
  info->ReleaseTypeAttr(attr);
  info->Release();
}

HRESULT TMemberFuzzer::Invoke(IDispatch* object, ITypeInfo* vtable, const FUNCDESC& func, const std::string& name,
                              const std::vector<TFuzzValue>& args, bool named, VARIANT* result) {
  bool isPut = func.invkind == INVOKE_PROPERTYPUT || func.invkind == INVOKE_PROPERTYPUTREF;
  TCallArgs call = Positional(args, isPut);
  if (named && !isPut) {
    for (size_t i = 0; i < call.Values.size(); ++i) call.Names.push_back(static_cast<DISPID>(call.Values.size() - 1 - i));
  }
  std::string text = name + (vtable != nullptr ? " vtable" : named ? " named" : " late");
  for (const TFuzzValue& value : args) text += " " + value.Text();
  FLog.Write(text);
  ++FCalls;
  IUnknown* vtableObject = nullptr;
  if (vtable != nullptr) {
    TYPEATTR* attr = nullptr;
    vtable->GetTypeAttr(&attr);
    object->QueryInterface(attr->guid, reinterpret_cast<void**>(&vtableObject));
    vtable->ReleaseTypeAttr(attr);
    if (vtableObject == nullptr) return E_NOINTERFACE;
  }
  HRESULT hr = Dispatch(object, vtable, vtableObject, func.memid, DispatchFlags(func.invkind), call, result);
  if (vtableObject != nullptr) vtableObject->Release();
  return hr;
}

void TMemberFuzzer::FuzzMember(IDispatch* object, ITypeInfo* info, ITypeInfo* vtable, const FUNCDESC& func,
                               const std::string& name, int depth) {
  std::string label = name + "." + MemberName(info, func.memid) + " " + KindText(func.invkind);
  std::vector<std::vector<TFuzzValue>> choices;
  for (SHORT i = 0; i < func.cParams; ++i) {
    const ELEMDESC& param = func.lprgelemdescParam[i];
    if ((param.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) != 0) continue;
    choices.push_back(BoundaryValues(info, param.tdesc, FObjects));
  }
  std::vector<TFuzzValue> base;
  for (const auto& values : choices) base.push_back(values.front());
  // A late-bound call that fails leaves an empty result (the type information's own Invoke on
  // the vtable does not promise that).
  auto run = [&](const std::vector<TFuzzValue>& args, ITypeInfo* through, bool named) {
    VARIANT result;
    ::VariantInit(&result);
    const HRESULT hr = Invoke(object, through, func, label, args, named, &result);
    if (through == nullptr && FAILED(hr)) ExpectEmptyResult(result, label, args);
    Follow(result, label, depth);
    ::VariantClear(&result);
    return hr;
  };
  run(base, nullptr, false);
  for (size_t p = 0; p < choices.size(); ++p) {
    for (const TFuzzValue& value : choices[p]) {
      std::vector<TFuzzValue> args = base;
      args[p] = value;
      run(args, nullptr, false);
      if (vtable != nullptr) {
        run(args, vtable, false);
        if (func.invkind == INVOKE_PROPERTYGET) ExpectVtableGetClearsOnFailure(object, vtable, func, label, args);
      }
    }
    for (const TFuzzValue& wrong : WrongTypeValues()) {
      std::vector<TFuzzValue> args = base;
      args[p] = wrong;
      run(args, nullptr, false);
    }
  }
  if (vtable != nullptr && choices.empty() && func.invkind == INVOKE_PROPERTYGET) {
    ExpectVtableGetClearsOnFailure(object, vtable, func, label, base);
  }
  if (!base.empty()) {
    run(base, nullptr, true);
    ExpectBadCount(run(std::vector<TFuzzValue>(base.begin(), base.end() - 1), nullptr, false), label + " one missing");
  }
  std::vector<TFuzzValue> extra = base;
  extra.push_back(Of(VT_I4, 1));
  ExpectBadCount(run(extra, nullptr, false), label + " one extra");
  // A name that no parameter has.
  FLog.Write(label + " late bogus-name");
  ++FCalls;
  TCallArgs bogus = Positional(base, false);
  bogus.Values.insert(bogus.Values.begin(), Of(VT_I4, 1));
  bogus.Names.push_back(777);
  VARIANT result;
  ::VariantInit(&result);
  if (FAILED(Dispatch(object, nullptr, nullptr, func.memid, DispatchFlags(func.invkind), bogus, &result))) {
    ExpectEmptyResult(result, label + " bogus-name", base);
  }
  ::VariantClear(&result);
}

void TMemberFuzzer::ExpectEmptyResult(const VARIANT& result, const std::string& label,
                                      const std::vector<TFuzzValue>& args) {
  ++FChecks;
  if (result.vt == VT_EMPTY) return;
  std::string call = label;
  for (const TFuzzValue& value : args) call += " " + value.Text();
  ADD_FAILURE() << call << " failed and left a result of type " << result.vt;
}

void TMemberFuzzer::ExpectBadCount(HRESULT hr, const std::string& label) {
  ++FChecks;
  EXPECT_EQ(hr, DISP_E_BADPARAMCOUNT) << label;
}

namespace {

// The get with the member id among the functions of info or, failing that, of the interfaces it
// derives from; info ends as the interface that declares it (still referenced when none does).
FUNCDESC* FindGet(ITypeInfo*& info, MEMBERID id) {
  for (;;) {
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return nullptr;
    const UINT count = attr->cFuncs;
    const bool derives = attr->cImplTypes > 0;
    info->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count; ++i) {
      FUNCDESC* candidate = nullptr;
      if (FAILED(info->GetFuncDesc(i, &candidate))) continue;
      if (candidate->memid == id && candidate->invkind == INVOKE_PROPERTYGET) return candidate;
      info->ReleaseFuncDesc(candidate);
    }
    HREFTYPE ref = 0;
    ITypeInfo* base = nullptr;
    if (!derives || FAILED(info->GetRefTypeOfImplType(0, &ref)) || FAILED(info->GetRefTypeInfo(ref, &base)))
      return nullptr;
    // A dual base's functions are those of its vtable view, found from its library's entry.
    ITypeLib* library = nullptr;
    UINT index = 0;
    ITypeInfo* entry = nullptr;
    ITypeInfo* view = nullptr;
    if (SUCCEEDED(base->GetContainingTypeLib(&library, &index)) && SUCCEEDED(library->GetTypeInfo(index, &entry)) &&
        SUCCEEDED(entry->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) &&
        SUCCEEDED(entry->GetRefTypeInfo(ref, &view))) {
      base->Release();
      base = view;
    }
    if (entry != nullptr) entry->Release();
    if (library != nullptr) library->Release();
    info->Release();
    info = base;
  }
}

}  // namespace

// Calls the get through the vtable with its result's place full of garbage: a failed get must
// leave it zero (a null pointer, an empty text, 0), so that a caller who frees it after the
// failure frees nothing.
void TMemberFuzzer::ExpectVtableGetClearsOnFailure(IDispatch* object, ITypeInfo* vtable, const FUNCDESC& func,
                                                   const std::string& label, const std::vector<TFuzzValue>& args) {
  TYPEATTR* attr = nullptr;
  if (FAILED(vtable->GetTypeAttr(&attr))) return;
  IUnknown* instance = nullptr;
  object->QueryInterface(attr->guid, reinterpret_cast<void**>(&instance));
  vtable->ReleaseTypeAttr(attr);
  // The get may be the interface's own or one it inherits: the slot's description belongs to the
  // interface that declares it.
  ITypeInfo* owner = vtable;
  owner->AddRef();
  FUNCDESC* slot = FindGet(owner, func.memid);
  if (instance == nullptr || slot == nullptr) {
    if (instance != nullptr) instance->Release();
    owner->Release();
    ADD_FAILURE() << label << ": no vtable slot";
    return;
  }
  unsigned char place[16];
  std::memset(place, 0xA5, sizeof place);
  std::vector<VARIANT> values;
  std::vector<VARTYPE> types;
  for (const TFuzzValue& value : args) {
    values.push_back(value.Value);
    types.push_back(value.Value.vt);
  }
  VARIANT out;
  ::VariantInit(&out);
  out.vt = VT_BYREF | VT_UI1;
  out.pbVal = place;
  values.push_back(out);
  types.push_back(out.vt);
  std::vector<VARIANT*> pointers;
  for (VARIANT& value : values) pointers.push_back(&value);
  VARIANT returned;
  ::VariantInit(&returned);
  FLog.Write(label + " vtable direct");
  ++FCalls;
  HRESULT hr = ::DispCallFunc(instance, slot->oVft, CC_STDCALL, VT_ERROR, static_cast<UINT>(values.size()),
                              types.data(), pointers.data(), &returned);
  if (SUCCEEDED(hr)) hr = returned.scode;
  const TYPEDESC& type = slot->lprgelemdescParam[slot->cParams - 1].tdesc;
  if (SUCCEEDED(hr)) {
    // What the get handed back is the caller's now.
    if (type.vt == VT_PTR && type.lptdesc->vt == VT_BSTR) {
      ::SysFreeString(*reinterpret_cast<BSTR*>(place));
    } else if (type.vt == VT_PTR && type.lptdesc->vt == VT_PTR) {
      (*reinterpret_cast<IUnknown**>(place))->Release();
    }
  } else {
    ++FChecks;
    const size_t size = ResultSize(owner, type);
    for (size_t i = 0; i < size; ++i) {
      if (place[i] != 0) {
        ADD_FAILURE() << label << " failed through the vtable (0x" << std::hex << hr << ") and left byte " << std::dec
                      << i << " of its result's place as " << static_cast<int>(place[i]);
        break;
      }
    }
  }
  owner->ReleaseFuncDesc(slot);
  owner->Release();
  instance->Release();
}

// The size of what a get's result pointer points at.
size_t TMemberFuzzer::ResultSize(ITypeInfo* owner, const TYPEDESC& pointer) {
  const TYPEDESC& type = pointer.vt == VT_PTR ? *pointer.lptdesc : pointer;
  switch (type.vt) {
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_ERROR: return 4;
    case VT_R8: case VT_DATE: case VT_I8: case VT_UI8: return 8;
    case VT_USERDEFINED: {
      ITypeInfo* ref = nullptr;
      size_t size = 4;  // an enumeration
      if (FAILED(owner->GetRefTypeInfo(type.hreftype, &ref))) return size;
      TYPEATTR* attr = nullptr;
      if (SUCCEEDED(ref->GetTypeAttr(&attr))) {
        if (attr->typekind == TKIND_ALIAS) {
          TYPEDESC alias{};
          alias.vt = VT_PTR;
          alias.lptdesc = &attr->tdescAlias;
          size = ResultSize(ref, alias);
        }
        ref->ReleaseTypeAttr(attr);
      }
      ref->Release();
      return size;
    }
    default: return sizeof(void*);  // texts and interfaces
  }
}

void TMemberFuzzer::Follow(const VARIANT& result, const std::string& name, int depth) {
  if (depth >= 2 || (result.vt != VT_DISPATCH && result.vt != VT_UNKNOWN) || result.punkVal == nullptr) return;
  for (const std::string& followed : FFollowed) {
    if (followed == name) return;
  }
  FFollowed.push_back(name);
  IDispatch* object = nullptr;
  if (FAILED(result.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object)))) return;
  FuzzObject(object, name + ">", depth + 1);
  object->Release();
}

}  // namespace skx::test
