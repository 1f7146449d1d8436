// Checks the type library carried by SkedraXControl.ocx against its contract, item by item.
#include <windows.h>
#include <ole2.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "SkedraXControl_TLB/SkedraXControl_TLB.h"

namespace {

// The standard OLE libraries: stdole32.tlb is version 1.0 and stdole2.tlb version 2.0 of one LIBID.
const GUID LIBID_StdOle = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID GUID_OleColor = {0x66504301, 0xBE0F, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
// The library describes 32-bit Windows: its function tables count 4 bytes a slot. The loader scales a member's oVft
// to the reading process's pointer size, but reports cbSizeVft as stored.
constexpr unsigned LibrarySlotSize = 4;

// The library is read from the .ocx beside the test program; SKX_TYPELIB_PATH may name another file (a bare .tlb).
std::wstring TypeLibPath() {
  if (const wchar_t* overridden = _wgetenv(L"SKX_TYPELIB_PATH"); overridden && *overridden) return overridden;
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"SkedraXControl.ocx";
}

template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  ~TComPtr() { Reset(); }
  void Reset() {
    if (FPtr) FPtr->Release();
    FPtr = nullptr;
  }
  T** operator&() {
    Reset();
    return &FPtr;
  }
  T* operator->() const { return FPtr; }
  operator T*() const { return FPtr; }

 private:
  T* FPtr = nullptr;
};

class TBstr {
 public:
  TBstr() = default;
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;
  ~TBstr() { ::SysFreeString(FValue); }
  BSTR* operator&() { return &FValue; }
  bool IsNull() const { return FValue == nullptr; }
  std::wstring Str() const { return FValue ? std::wstring(FValue, ::SysStringLen(FValue)) : std::wstring(); }

 private:
  BSTR FValue = nullptr;
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::string GuidText(const GUID& guid) {
  wchar_t text[64] = {};
  ::StringFromGUID2(guid, text, 64);
  return Narrow(text);
}

std::wstring TypeName(ITypeInfo* info) {
  TBstr name;
  EXPECT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr));
  return name.Str();
}

// A TYPEDESC written out, user-defined types by the name of the type they resolve to: "PTR(UDT(IFontDisp))".
std::string Describe(ITypeInfo* owner, const TYPEDESC& t) {
  switch (t.vt) {
    case VT_PTR: return "PTR(" + Describe(owner, *t.lptdesc) + ")";
    case VT_USERDEFINED: {
      TComPtr<ITypeInfo> ref;
      if (FAILED(owner->GetRefTypeInfo(t.hreftype, &ref))) return "UDT(?)";
      return "UDT(" + Narrow(TypeName(ref)) + ")";
    }
    case VT_I2: return "I2";
    case VT_I4: return "I4";
    case VT_R8: return "R8";
    case VT_BOOL: return "BOOL";
    case VT_BSTR: return "BSTR";
    case VT_VARIANT: return "VARIANT";
    case VT_VOID: return "VOID";
    case VT_HRESULT: return "HRESULT";
    default: return "VT" + std::to_string(t.vt);
  }
}

struct TParam {
  const char* name;  // "" = unnamed
  std::string type;
  USHORT flags;
};

struct TMember {
  const char* name;
  INVOKEKIND kind;
  DISPID id;
  std::vector<TParam> params;
};

constexpr USHORT fIn = PARAMFLAG_FIN, fOut = PARAMFLAG_FOUT, fRetval = PARAMFLAG_FRETVAL;

TMember G(const char* name, DISPID id, const std::string& type) {
  return {name, INVOKE_PROPERTYGET, id, {{"Value", "PTR(" + type + ")", fOut | fRetval}}};
}
TMember P(const char* name, DISPID id, const std::string& type) { return {name, INVOKE_PROPERTYPUT, id, {{"", type, fIn}}}; }
TMember M(const char* name, DISPID id, std::vector<TParam> params = {}) { return {name, INVOKE_FUNC, id, std::move(params)}; }

const std::string tTask = "PTR(UDT(ITaskObject))", tFont = "PTR(UDT(IFontDisp))", tColor = "UDT(OLE_COLOR)";

// ISkedraX, members 1 to 47 in vtable order.
const std::vector<TMember> SkedraXMembers = {
    G("GridHeight", 4, "I4"),
    G("GridWidth", 5, "I4"),
    G("BorderStyle", 9, "UDT(TxBorderStyle)"), P("BorderStyle", 9, "UDT(TxBorderStyle)"),
    G("Color", 10, tColor), P("Color", 10, tColor),
    G("Ctl3D", 12, "BOOL"), P("Ctl3D", 12, "BOOL"),
    G("DragCursor", 16, "I2"), P("DragCursor", 16, "I2"),
    G("DragMode", 17, "UDT(TxDragMode)"), P("DragMode", 17, "UDT(TxDragMode)"),
    G("Enabled", 18, "BOOL"), P("Enabled", 18, "BOOL"),
    G("Font", 23, tFont), P("Font", 23, tFont),
    G("ParentColor", 25, "BOOL"), P("ParentColor", 25, "BOOL"),
    G("ParentCtl3D", 26, "BOOL"), P("ParentCtl3D", 26, "BOOL"),
    G("Visible", 28, "BOOL"), P("Visible", 28, "BOOL"),
    G("Cursor", 31, "I2"), P("Cursor", 31, "I2"),
    M("AboutBox", -552),
    M("Clear", 32),
    M("AddTask", 33, {{"aTask", tTask, fIn}}),
    M("Delete", 34, {{"anID", "I4", fIn}}),
    M("NewTask", 35),
    G("Count", 36, "I4"),
    {"Items", INVOKE_PROPERTYGET, 37, {{"anIndex", "I4", fIn}, {"Value", "PTR(" + tTask + ")", fOut | fRetval}}},
    G("WeekStart", 1, "UDT(IDayOfWeek)"), P("WeekStart", 1, "UDT(IDayOfWeek)"),
    G("WeekEnd", 2, "UDT(IDayOfWeek)"), P("WeekEnd", 2, "UDT(IDayOfWeek)"),
    G("DayStart", 3, "R8"), P("DayStart", 3, "R8"),
    G("DayEnd", 6, "R8"), P("DayEnd", 6, "R8"),
    G("TimeScale", 7, "I4"), P("TimeScale", 7, "I4"),
    G("ActiveDate", 8, "R8"), P("ActiveDate", 8, "R8"),
    G("CurrentDate", 11, "R8"),
    G("SelectedTask", 13, tTask),
    G("SkedraType", 14, "UDT(ISkedraType)"), P("SkedraType", 14, "UDT(ISkedraType)"),
};

// ITaskObject, members 1 to 21 in vtable order.
const std::vector<TMember> TaskObjectMembers = {
    G("ID", 1, "I4"),
    G("StartDateTime", 2, "R8"), P("StartDateTime", 2, "R8"),
    G("FinishDateTime", 3, "R8"), P("FinishDateTime", 3, "R8"),
    G("IsPrivate", 4, "BOOL"), P("IsPrivate", 4, "BOOL"),
    G("Remind", 5, "I4"), P("Remind", 5, "I4"),
    G("Description", 6, "BSTR"), P("Description", 6, "BSTR"),
    G("Notes", 7, "BSTR"), P("Notes", 7, "BSTR"),
    G("Priority", 8, "UDT(ITaskPriority)"), P("Priority", 8, "UDT(ITaskPriority)"),
    G("TaskType", 9, "UDT(ITaskType)"), P("TaskType", 9, "UDT(ITaskType)"),
    G("Status", 10, "UDT(ITaskStatus)"), P("Status", 10, "UDT(ITaskStatus)"),
    G("Where", 11, "BSTR"), P("Where", 11, "BSTR"),
};

// ISkedraXEvents, in the library's order; aTask carries no direction flag.
const std::vector<TMember> SkedraXEventsMembers = {
    M("OnClick", 1),
    M("OnDblClick", 3),
    M("OnKeyPress", 6, {{"Key", "PTR(I2)", fIn | fOut}}),
    M("OnSelectTask", 2, {{"aTask", tTask, 0}}),
    M("OnUnselectTask", 4, {{"aTask", tTask, 0}}),
    M("OnGetNewID", 5, {{"anID", "PTR(I4)", fIn | fOut}}),
    M("OnAppendTask", 7, {{"aTask", tTask, 0}}),
    M("OnUpdateTask", 8, {{"aTask", tTask, 0}}),
    M("OnDeleteTask", 9, {{"aTask", tTask, 0}}),
};

// ISkedraX2's own members, after ISkedraX's in its function table.
const std::vector<TMember> SkedraX2Members = {
    G("AllowDragTasks", 38, "BOOL"), P("AllowDragTasks", 38, "BOOL"),
    G("ShowCurrentTime", 39, "BOOL"), P("ShowCurrentTime", 39, "BOOL"),
    M("BeginUpdate", 40),
    M("EndUpdate", 41),
    M("Refresh", -550),
    M("AddTasks", 42, {{"aTasks", "VARIANT", fIn}}),
};

const std::vector<TMember> TaskObject2Members = {P("ID", 1, "I4")};

// ISkedraXEvents2: ISkedraXEvents's nine with their DISPIDs, then the cancelable changes.
std::vector<TMember> SkedraXEvents2Members() {
  const TParam task{"aTask", tTask, 0}, cancel{"Cancel", "PTR(BOOL)", fIn | fOut};
  const TParam start{"NewStart", "R8", fIn}, finish{"NewFinish", "R8", fIn};
  std::vector<TMember> members = SkedraXEventsMembers;
  members.insert(members.end(), {M("OnBeforeMoveTask", 10, {task, start, finish, cancel}),
                                 M("OnBeforeResizeTask", 11, {task, start, finish, cancel}),
                                 M("OnBeforeDeleteTask", 12, {task, cancel}),
                                 M("OnBeforeUpdateTask", 13, {task, cancel}),
                                 M("OnTaskMoved", 14, {task}),
                                 M("OnTaskResized", 15, {task})});
  return members;
}

struct TTypeRow {
  const char* name;
  TYPEKIND kind;  // of the type as ITypeLib::GetTypeInfo returns it (a dual interface: its dispatch view)
  const GUID* guid;
  WORD flags;
  const char* doc;  // nullptr: none
};

// Dual interfaces and the dispinterface derive from IDispatch, which makes them TYPEFLAG_FDISPATCHABLE as well.
constexpr WORD DualFlags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
// The loader reports a dual interface's dispatch view without TYPEFLAG_FOLEAUTOMATION (that flag describes the
// function table, which the interface view carries).
constexpr WORD DualDispatchViewFlags = DualFlags & ~TYPEFLAG_FOLEAUTOMATION;

const TTypeRow Types[] = {
    {"ISkedraX", TKIND_DISPATCH, &IID_ISkedraX, DualDispatchViewFlags, "Dispatch interface for SkedraX Control"},
    {"ISkedraXEvents", TKIND_DISPATCH, &DIID_ISkedraXEvents, TYPEFLAG_FDISPATCHABLE, "Events interface for SkedraX Control"},
    {"SkedraX", TKIND_COCLASS, &CLSID_SkedraX, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL, "SkedraXControl"},
    {"TxBorderStyle", TKIND_ENUM, &GUID_TxBorderStyle, 0, nullptr},
    {"TxDragMode", TKIND_ENUM, &GUID_TxDragMode, 0, nullptr},
    {"TxScrollStyle", TKIND_ENUM, &GUID_TxScrollStyle, 0, nullptr},
    {"TxMouseButton", TKIND_ENUM, &GUID_TxMouseButton, 0, nullptr},
    {"ITaskObject", TKIND_DISPATCH, &IID_ITaskObject, DualDispatchViewFlags, nullptr},
    {"TaskObjectX", TKIND_COCLASS, &CLSID_TaskObjectX, TYPEFLAG_FCANCREATE, "TaskObject"},
    {"ISkedraType", TKIND_ENUM, &GUID_ISkedraType, 0, nullptr},
    {"IDayOfWeek", TKIND_ENUM, &GUID_IDayOfWeek, 0, nullptr},
    {"ITaskPriority", TKIND_ENUM, &GUID_ITaskPriority, 0, nullptr},
    {"ITaskType", TKIND_ENUM, &GUID_ITaskType, 0, nullptr},
    {"ITaskStatus", TKIND_ENUM, &GUID_ITaskStatus, 0, nullptr},
    // The second versions, appended.
    {"ISkedraX2", TKIND_DISPATCH, &IID_ISkedraX2, DualDispatchViewFlags,
     "Dispatch interface for SkedraX Control: dragging, batches and the current time"},
    {"ISkedraXEvents2", TKIND_DISPATCH, &DIID_ISkedraXEvents2, TYPEFLAG_FDISPATCHABLE,
     "Events interface for SkedraX Control: every event, and changes a handler may cancel"},
    {"ITaskObject2", TKIND_DISPATCH, &IID_ITaskObject2, DualDispatchViewFlags, "TaskObject with an identifier to set"},
};
constexpr UINT TypeCount = sizeof(Types) / sizeof(Types[0]);
constexpr UINT SkedraX2Index = 14, SkedraXEvents2Index = 15, TaskObject2Index = 16;

struct TEnumRow {
  UINT index;
  std::vector<const char*> constants;  // value = position
};

const TEnumRow Enums[] = {
    {3, {"bsNone", "bsSingle"}},
    {4, {"dmManual", "dmAutomatic"}},
    {5, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}},
    {6, {"mbLeft", "mbRight", "mbMiddle"}},
    {9, {"skDaily", "skWeekly"}},
    {10, {"dwMon", "dwTue", "dwWed", "dwThu", "dwFri", "dwSat", "dwSun"}},
    {11, {"tpLow", "tpNormal", "tpHigh"}},
    {12, {"ttTask", "ttContact", "ttEvent"}},
    {13, {"tsActive", "tsCompleted", "tsSuspend"}},
};

class TypeLibTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    const std::wstring path = TypeLibPath();
    const HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &FLib);
    ASSERT_EQ(S_OK, hr) << "LoadTypeLibEx(" << Narrow(path) << ")";
  }
  static void TearDownTestSuite() {
    if (FLib) FLib->Release();
    FLib = nullptr;
    ::CoUninitialize();
  }
  void SetUp() override { ASSERT_NE(nullptr, FLib); }

  static void GetType(UINT index, TComPtr<ITypeInfo>& info) { ASSERT_EQ(S_OK, FLib->GetTypeInfo(index, &info)); }

  // The TKIND_INTERFACE view of a dual interface, the one that describes its function table.
  static void GetInterfaceView(UINT index, TComPtr<ITypeInfo>& view) {
    TComPtr<ITypeInfo> dispatchView;
    GetType(index, dispatchView);
    HREFTYPE href = 0;
    ASSERT_EQ(S_OK, dispatchView->GetRefTypeOfImplType(static_cast<UINT>(-1), &href));
    ASSERT_EQ(S_OK, dispatchView->GetRefTypeInfo(href, &view));
  }

  static void ExpectDerivesFrom(ITypeInfo* info, REFIID baseIid, const wchar_t* baseName) {
    HREFTYPE href = 0;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(0, &href));
    TComPtr<ITypeInfo> base;
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(href, &base));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, base->GetTypeAttr(&attr));
    EXPECT_EQ(GuidText(baseIid), GuidText(attr->guid));
    base->ReleaseTypeAttr(attr);
    EXPECT_EQ(baseName, TypeName(base));
  }
  static void ExpectDerivesFromIDispatch(ITypeInfo* info) { ExpectDerivesFrom(info, IID_IDispatch, L"IDispatch"); }

  // Every member in order: name, DISPID, invoke kind, function kind, return type, parameters; for an interface
  // view also the function-table slot after the inherited entries (inheritedSlots: the seven IUnknown/IDispatch
  // ones, and a first version's). A dispinterface lists the seven inherited IDispatch functions first, as the
  // loader flattens it; its own members follow.
  static void ExpectMembers(ITypeInfo* info, const std::vector<TMember>& expected, bool dispinterface,
                            UINT inheritedSlots = 7) {
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    const UINT first = dispinterface ? 7 : 0;
    const UINT funcCount = attr->cFuncs;
    EXPECT_EQ(first + expected.size(), funcCount);
    EXPECT_EQ(0, attr->cVars);
    EXPECT_EQ(1, attr->cImplTypes);
    if (!dispinterface) {
      EXPECT_EQ((inheritedSlots + expected.size()) * LibrarySlotSize, attr->cbSizeVft);
    }
    info->ReleaseTypeAttr(attr);

    for (UINT i = 0; first + i < funcCount && i < expected.size(); ++i) {
      const TMember& m = expected[i];
      SCOPED_TRACE(std::string("member #") + std::to_string(i + 1) + " " + m.name);
      FUNCDESC* f = nullptr;
      ASSERT_EQ(S_OK, info->GetFuncDesc(first + i, &f));
      EXPECT_EQ(m.id, f->memid);
      EXPECT_EQ(m.kind, f->invkind);
      EXPECT_EQ(dispinterface ? FUNC_DISPATCH : FUNC_PUREVIRTUAL, f->funckind);
      EXPECT_EQ(CC_STDCALL, f->callconv);
      EXPECT_EQ(dispinterface ? "VOID" : "HRESULT", Describe(info, f->elemdescFunc.tdesc));
      EXPECT_EQ(0, f->cParamsOpt);
      EXPECT_EQ(0, f->wFuncFlags);
      if (!dispinterface) {
        EXPECT_EQ(static_cast<SHORT>((inheritedSlots + i) * sizeof(void*)), f->oVft);
      }
      ASSERT_EQ(m.params.size(), static_cast<size_t>(f->cParams));

      BSTR names[8] = {};
      UINT nameCount = 0;
      ASSERT_EQ(S_OK, info->GetNames(f->memid, names, 8, &nameCount));
      std::vector<std::wstring> got;
      for (UINT n = 0; n < nameCount; ++n) {
        got.emplace_back(names[n] ? names[n] : L"");
        ::SysFreeString(names[n]);
      }
      ASSERT_GE(got.size(), 1u);
      EXPECT_EQ(m.name, Narrow(got[0]));

      for (size_t p = 0; p < m.params.size(); ++p) {
        SCOPED_TRACE("parameter " + std::to_string(p));
        const ELEMDESC& e = f->lprgelemdescParam[p];
        EXPECT_EQ(m.params[p].type, Describe(info, e.tdesc));
        EXPECT_EQ(m.params[p].flags, e.paramdesc.wParamFlags);
      }
      info->ReleaseFuncDesc(f);

      // GetNames answers for the first function with the member id, a property's get (of the interface itself or
      // of the one it derives from); a put's unnamed value parameter is therefore invisible through the API, and
      // only the other members' lists are compared whole.
      if (m.kind != INVOKE_PROPERTYPUT) {
        std::vector<std::string> want{m.name};
        for (const TParam& p : m.params) want.emplace_back(p.name);
        std::vector<std::string> have;
        for (const std::wstring& n : got) have.push_back(Narrow(n));
        EXPECT_EQ(want, have);
      }
    }
  }

  static void ExpectNoMemberDocs(ITypeInfo* info, const std::vector<TMember>& members) {
    for (const TMember& m : members) {
      TBstr doc;
      DWORD context = 1;
      ASSERT_EQ(S_OK, info->GetDocumentation(m.id, nullptr, &doc, &context, nullptr)) << m.name;
      EXPECT_TRUE(doc.Str().empty()) << m.name;
      EXPECT_EQ(0u, context) << m.name;
    }
  }

  static void ExpectIds(ITypeInfo* info, const std::vector<TMember>& members) {
    for (const TMember& m : members) {
      std::wstring name(m.name, m.name + std::char_traits<char>::length(m.name));
      LPOLESTR names[] = {name.data()};
      MEMBERID id = 0x0DEADBEF;
      EXPECT_EQ(S_OK, info->GetIDsOfNames(names, 1, &id)) << m.name;
      EXPECT_EQ(m.id, id) << m.name;
    }
  }

  // The vtable view of a dual interface: its kind, identity, flags, base and members in function-table order.
  static void ExpectDualInterface(UINT index, REFIID iid, const std::vector<TMember>& members,
                                  REFIID baseIid = IID_IDispatch, const wchar_t* baseName = L"IDispatch",
                                  UINT inheritedSlots = 7) {
    TComPtr<ITypeInfo> view;
    GetInterfaceView(index, view);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, view->GetTypeAttr(&attr));
    EXPECT_EQ(TKIND_INTERFACE, attr->typekind);
    EXPECT_EQ(GuidText(iid), GuidText(attr->guid));
    EXPECT_EQ(DualFlags, attr->wTypeFlags);
    view->ReleaseTypeAttr(attr);
    ExpectDerivesFrom(view, baseIid, baseName);
    ExpectMembers(view, members, false, inheritedSlots);
    ExpectNoMemberDocs(view, members);
  }

  static ITypeLib* FLib;
};

ITypeLib* TypeLibTest::FLib = nullptr;

TEST_F(TypeLibTest, LibraryAttributes) {
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(S_OK, FLib->GetLibAttr(&attr));
  EXPECT_EQ(GuidText(LIBID_SkedraXControl), GuidText(attr->guid));
  EXPECT_EQ(0x0409u, attr->lcid);
  EXPECT_EQ(SYS_WIN32, attr->syskind);
  EXPECT_EQ(1, attr->wMajorVerNum);
  EXPECT_EQ(0, attr->wMinorVerNum);
  EXPECT_EQ(LIBFLAG_FCONTROL, attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE);  // the loader adds FHASDISKIMAGE
  FLib->ReleaseTLibAttr(attr);

  TBstr name, doc, helpFile;
  DWORD context = 1;
  ASSERT_EQ(S_OK, FLib->GetDocumentation(-1, &name, &doc, &context, &helpFile));
  EXPECT_EQ(L"SkedraXControl", name.Str());
  EXPECT_EQ(L"SkedraXControl Library", doc.Str());
  EXPECT_EQ(0u, context);
  EXPECT_TRUE(helpFile.Str().empty());
}

TEST_F(TypeLibTest, FourteenTypesThenTheSecondVersionsInOrderWithKindGuidVersionFlagsAndHelp) {
  ASSERT_EQ(TypeCount, FLib->GetTypeInfoCount());
  for (UINT i = 0; i < TypeCount; ++i) {
    const TTypeRow& row = Types[i];
    SCOPED_TRACE(std::string("type #") + std::to_string(i) + " " + row.name);
    TYPEKIND kind = TKIND_MAX;
    ASSERT_EQ(S_OK, FLib->GetTypeInfoType(i, &kind));
    EXPECT_EQ(row.kind, kind);

    TBstr name, doc;
    DWORD context = 1;
    ASSERT_EQ(S_OK, FLib->GetDocumentation(static_cast<INT>(i), &name, &doc, &context, nullptr));
    EXPECT_EQ(row.name, Narrow(name.Str()));
    EXPECT_EQ(row.doc ? row.doc : "", Narrow(doc.Str()));
    EXPECT_EQ(0u, context);

    TComPtr<ITypeInfo> info;
    GetType(i, info);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    EXPECT_EQ(row.kind, attr->typekind);
    EXPECT_EQ(GuidText(*row.guid), GuidText(attr->guid));
    EXPECT_EQ(1, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    EXPECT_EQ(row.flags, attr->wTypeFlags);
    info->ReleaseTypeAttr(attr);

    TComPtr<ITypeInfo> byGuid;
    ASSERT_EQ(S_OK, FLib->GetTypeInfoOfGuid(*row.guid, &byGuid));
    TComPtr<ITypeLib> container;
    UINT index = 99;
    ASSERT_EQ(S_OK, byGuid->GetContainingTypeLib(&container, &index));
    EXPECT_EQ(i, index);
  }
}

TEST_F(TypeLibTest, SkedraXIsDualWithFortySevenMembersInVtableOrder) {
  ExpectDualInterface(0, IID_ISkedraX, SkedraXMembers);
}

TEST_F(TypeLibTest, TaskObjectIsDualWithTwentyOneMembersInVtableOrder) {
  ExpectDualInterface(7, IID_ITaskObject, TaskObjectMembers);
}

// The second versions extend the first function tables: an old client's slots are where they were.
TEST_F(TypeLibTest, SecondVersionsDeriveFromTheFirstAndAppendTheirMembers) {
  ExpectDualInterface(SkedraX2Index, IID_ISkedraX2, SkedraX2Members, IID_ISkedraX, L"ISkedraX",
                      7 + static_cast<UINT>(SkedraXMembers.size()));
  ExpectDualInterface(TaskObject2Index, IID_ITaskObject2, TaskObject2Members, IID_ITaskObject, L"ITaskObject",
                      7 + static_cast<UINT>(TaskObjectMembers.size()));
  // The dispatch views answer every member, the first version's too.
  for (auto [index, first, second] : {std::tuple{SkedraX2Index, &SkedraXMembers, &SkedraX2Members},
                                      std::tuple{TaskObject2Index, &TaskObjectMembers, &TaskObject2Members}}) {
    TComPtr<ITypeInfo> dispatchView;
    GetType(index, dispatchView);
    ExpectIds(dispatchView, *first);
    ExpectIds(dispatchView, *second);
  }
}

TEST_F(TypeLibTest, SecondEventsDispinterfaceHasEveryFirstEventThenTheCancelableOnes) {
  TComPtr<ITypeInfo> info;
  GetType(SkedraXEvents2Index, info);
  ExpectDerivesFromIDispatch(info);
  const std::vector<TMember> members = SkedraXEvents2Members();
  ExpectMembers(info, members, true);
  ExpectNoMemberDocs(info, members);
  ExpectIds(info, members);
}

TEST_F(TypeLibTest, EventsDispinterfaceHasNineMethods) {
  TComPtr<ITypeInfo> info;
  GetType(1, info);
  ExpectDerivesFromIDispatch(info);
  ExpectMembers(info, SkedraXEventsMembers, true);
  ExpectNoMemberDocs(info, SkedraXEventsMembers);
  ExpectIds(info, SkedraXEventsMembers);
}

TEST_F(TypeLibTest, NameLookupOnBothViewsGivesTheDispids) {
  for (UINT index : {0u, 7u}) {
    const std::vector<TMember>& members = index == 0 ? SkedraXMembers : TaskObjectMembers;
    TComPtr<ITypeInfo> dispatchView, interfaceView;
    GetType(index, dispatchView);
    GetInterfaceView(index, interfaceView);
    ExpectIds(dispatchView, members);
    ExpectIds(interfaceView, members);
  }
}

TEST_F(TypeLibTest, IdsOfNamesOfKnownMembers) {
  struct TCase {
    UINT type;
    const wchar_t* name;
    MEMBERID id;
  };
  const TCase cases[] = {{0, L"WeekStart", 1}, {0, L"SkedraType", 14}, {0, L"AboutBox", -552}, {7, L"ID", 1}, {7, L"Where", 11}};
  for (const TCase& c : cases) {
    TComPtr<ITypeInfo> info;
    GetType(c.type, info);
    LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
    MEMBERID id = 0;
    EXPECT_EQ(S_OK, info->GetIDsOfNames(names, 1, &id)) << Narrow(c.name);
    EXPECT_EQ(c.id, id) << Narrow(c.name);
  }
}

TEST_F(TypeLibTest, SkedraTypePutIsTheLastFunctionTableEntry) {
  TComPtr<ITypeInfo> view;
  GetInterfaceView(0, view);
  FUNCDESC* f = nullptr;
  ASSERT_EQ(S_OK, view->GetFuncDesc(46, &f));
  EXPECT_EQ(14, f->memid);
  EXPECT_EQ(INVOKE_PROPERTYPUT, f->invkind);
  EXPECT_EQ(static_cast<SHORT>(53 * sizeof(void*)), f->oVft);
  view->ReleaseFuncDesc(f);
}

TEST_F(TypeLibTest, TaskIdHasNoPut) {
  TComPtr<ITypeInfo> view;
  GetInterfaceView(7, view);
  for (UINT i = 0; i < TaskObjectMembers.size(); ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_EQ(S_OK, view->GetFuncDesc(i, &f));
    EXPECT_FALSE(f->memid == TaskObjectDispId::ID && f->invkind != INVOKE_PROPERTYGET) << i;
    view->ReleaseFuncDesc(f);
  }
}

TEST_F(TypeLibTest, EnumerationConstantsHaveMemberIdEqualToValue) {
  for (const TEnumRow& row : Enums) {
    TComPtr<ITypeInfo> info;
    GetType(row.index, info);
    SCOPED_TRACE(Narrow(TypeName(info)));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    EXPECT_EQ(row.constants.size(), attr->cVars);
    EXPECT_EQ(0, attr->cFuncs);
    EXPECT_EQ(4u, attr->cbSizeInstance);
    const UINT count = attr->cVars;
    info->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count && i < row.constants.size(); ++i) {
      VARDESC* v = nullptr;
      ASSERT_EQ(S_OK, info->GetVarDesc(i, &v));
      EXPECT_EQ(static_cast<MEMBERID>(i), v->memid);
      EXPECT_EQ(VAR_CONST, v->varkind);
      EXPECT_EQ(VT_I4, v->elemdescVar.tdesc.vt);
      ASSERT_NE(nullptr, v->lpvarValue);
      EXPECT_EQ(VT_I4, V_VT(v->lpvarValue));
      EXPECT_EQ(static_cast<LONG>(i), V_I4(v->lpvarValue));
      info->ReleaseVarDesc(v);

      TBstr name, doc;
      ASSERT_EQ(S_OK, info->GetDocumentation(static_cast<MEMBERID>(i), &name, &doc, nullptr, nullptr));
      EXPECT_EQ(row.constants[i], Narrow(name.Str()));
      EXPECT_TRUE(doc.Str().empty());
    }
  }
}

TEST_F(TypeLibTest, CoclassesImplementTheirInterfaces) {
  struct TImpl {
    UINT coclass;
    UINT index;
    const GUID* iid;
    const char* name;
    INT flags;
  };
  const TImpl impls[] = {
      {2, 0, &IID_ISkedraX, "ISkedraX", IMPLTYPEFLAG_FDEFAULT},
      {2, 1, &DIID_ISkedraXEvents, "ISkedraXEvents", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
      {8, 0, &IID_ITaskObject, "ITaskObject", IMPLTYPEFLAG_FDEFAULT},
  };
  for (UINT coclass : {2u, 8u}) {
    TComPtr<ITypeInfo> info;
    GetType(coclass, info);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    EXPECT_EQ(coclass == 2 ? 2 : 1, attr->cImplTypes);
    EXPECT_EQ(0, attr->cFuncs);
    info->ReleaseTypeAttr(attr);
  }
  for (const TImpl& impl : impls) {
    SCOPED_TRACE(impl.name);
    TComPtr<ITypeInfo> info, ref;
    GetType(impl.coclass, info);
    HREFTYPE href = 0;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(impl.index, &href));
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(href, &ref));
    EXPECT_EQ(impl.name, Narrow(TypeName(ref)));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, ref->GetTypeAttr(&attr));
    EXPECT_EQ(GuidText(*impl.iid), GuidText(attr->guid));
    ref->ReleaseTypeAttr(attr);
    INT flags = -1;
    ASSERT_EQ(S_OK, info->GetImplTypeFlags(impl.index, &flags));
    EXPECT_EQ(impl.flags, flags);
  }
}

TEST_F(TypeLibTest, OwnTypeReferencesResolveIntoThisLibrary) {
  // Every UDT in a member's parameters names one of our types or one of stdole2's two; ours must resolve here.
  TComPtr<ITypeInfo> view;
  GetInterfaceView(0, view);
  for (UINT i : {2u, 26u, 31u, 45u}) {  // BorderStyle get, AddTask, WeekStart get, SkedraType get
    FUNCDESC* f = nullptr;
    ASSERT_EQ(S_OK, view->GetFuncDesc(i, &f));
    const TYPEDESC* t = &f->lprgelemdescParam[0].tdesc;
    while (t->vt == VT_PTR) t = t->lptdesc;
    ASSERT_EQ(VT_USERDEFINED, t->vt);
    TComPtr<ITypeInfo> ref;
    ASSERT_EQ(S_OK, view->GetRefTypeInfo(t->hreftype, &ref));
    view->ReleaseFuncDesc(f);
    TComPtr<ITypeLib> container;
    UINT index = 0;
    ASSERT_EQ(S_OK, ref->GetContainingTypeLib(&container, &index));
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, container->GetLibAttr(&attr));
    EXPECT_EQ(GuidText(LIBID_SkedraXControl), GuidText(attr->guid));
    container->ReleaseTLibAttr(attr);
  }
}

TEST_F(TypeLibTest, ColorAndFontAreTheStandardLibraryTypes) {
  TComPtr<ITypeInfo> view;
  GetInterfaceView(0, view);
  struct TCase {
    UINT func;
    const char* name;
  };
  for (const TCase& c : {TCase{5, "OLE_COLOR"}, TCase{15, "IFontDisp"}}) {  // put Color, put Font
    SCOPED_TRACE(c.name);
    FUNCDESC* f = nullptr;
    ASSERT_EQ(S_OK, view->GetFuncDesc(c.func, &f));
    const TYPEDESC* t = &f->lprgelemdescParam[0].tdesc;
    while (t->vt == VT_PTR) t = t->lptdesc;
    ASSERT_EQ(VT_USERDEFINED, t->vt);
    TComPtr<ITypeInfo> ref;
    ASSERT_EQ(S_OK, view->GetRefTypeInfo(t->hreftype, &ref));
    view->ReleaseFuncDesc(f);
    EXPECT_EQ(c.name, Narrow(TypeName(ref)));

    TComPtr<ITypeLib> container;
    UINT index = 0;
    ASSERT_EQ(S_OK, ref->GetContainingTypeLib(&container, &index));
    TLIBATTR* libAttr = nullptr;
    ASSERT_EQ(S_OK, container->GetLibAttr(&libAttr));
    EXPECT_EQ(GuidText(LIBID_StdOle), GuidText(libAttr->guid));
    EXPECT_EQ(2, libAttr->wMajorVerNum);
    container->ReleaseTLibAttr(libAttr);

    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, ref->GetTypeAttr(&attr));
    if (std::string(c.name) == "OLE_COLOR") {
      EXPECT_EQ(GuidText(GUID_OleColor), GuidText(attr->guid));
      EXPECT_EQ(TKIND_ALIAS, attr->typekind);
      EXPECT_EQ(4u, attr->cbSizeInstance);
    } else if (attr->typekind == TKIND_ALIAS) {
      // stdole2 declares IFontDisp as an alias of the Font dispinterface; follow it to the GUID.
      ASSERT_EQ(VT_USERDEFINED, attr->tdescAlias.vt);
      TComPtr<ITypeInfo> target;
      ASSERT_EQ(S_OK, ref->GetRefTypeInfo(attr->tdescAlias.hreftype, &target));
      TYPEATTR* targetAttr = nullptr;
      ASSERT_EQ(S_OK, target->GetTypeAttr(&targetAttr));
      EXPECT_EQ(GuidText(IID_IFontDisp), GuidText(targetAttr->guid));
      EXPECT_EQ(TKIND_DISPATCH, targetAttr->typekind);
      target->ReleaseTypeAttr(targetAttr);
    } else {
      EXPECT_EQ(GuidText(IID_IFontDisp), GuidText(attr->guid));
    }
    ref->ReleaseTypeAttr(attr);
  }
}

}  // namespace
