// Build-time generator of SkedraXControl.tlb with CreateTypeLib2, run under Wine; usage: tlbgen <output.tlb> [stdole folder].
//
// widl cannot meet the contract (it orders types by first use and numbers enumeration constants 0x40000000+n),
// so the library is written through ICreateTypeLib2/ICreateTypeInfo2, which keep creation order and the given
// member ids. One defect of Wine's writer is repaired after saving: see PatchGuidlessImport.
#include <windows.h>
#include <ole2.h>
#include <oaidl.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "SkedraXControl_TLB/SkedraXControl_TLB.h"

namespace {

// Types of the library, in the contract's order; the value is the index that ITypeLib::GetTypeInfo takes. The second
// versions come after the fourteen first types, which never change.
enum TTypeIndex : int {
  tiSkedraX, tiSkedraXEvents, tiSkedraXClass, tiTxBorderStyle, tiTxDragMode, tiTxScrollStyle, tiTxMouseButton,
  tiTaskObject, tiTaskObjectXClass, tiSkedraType, tiDayOfWeek, tiTaskPriority, tiTaskType, tiTaskStatus,
  tiSkedraX2, tiSkedraXEvents2, tiTaskObject2, tiCount
};
// Types of the standard libraries that members refer to.
enum TImportRef : int { irOleColor = 100, irFontDisp = 101 };

// A member's type: a base VARTYPE, or a reference (own TTypeIndex or TImportRef) behind `pointers` levels of VT_PTR.
struct TTypeSpec {
  VARTYPE vt;
  int ref;
  int pointers;
};
constexpr TTypeSpec Base(VARTYPE vt) { return {vt, -1, 0}; }
constexpr TTypeSpec Ref(int ref, int pointers = 0) { return {VT_USERDEFINED, ref, pointers}; }
constexpr TTypeSpec PtrTo(TTypeSpec t) { return {t.vt, t.ref, t.pointers + 1}; }

const TTypeSpec tLong = Base(VT_I4), tShort = Base(VT_I2), tBool = Base(VT_BOOL), tDouble = Base(VT_R8),
                tBstr = Base(VT_BSTR), tVoid = Base(VT_VOID), tHresult = Base(VT_HRESULT);

struct TParamSpec {
  const wchar_t* name;  // nullptr: unnamed (the value of a property put)
  TTypeSpec type;
  USHORT flags;
};

struct TFuncSpec {
  const wchar_t* name;
  INVOKEKIND kind;
  DISPID id;
  std::vector<TParamSpec> params;
};

TFuncSpec Get(const wchar_t* name, DISPID id, TTypeSpec type) {
  return {name, INVOKE_PROPERTYGET, id, {{L"Value", PtrTo(type), PARAMFLAG_FOUT | PARAMFLAG_FRETVAL}}};
}
TFuncSpec Put(const wchar_t* name, DISPID id, TTypeSpec type) {
  return {name, INVOKE_PROPERTYPUT, id, {{nullptr, type, PARAMFLAG_FIN}}};
}
TFuncSpec Method(const wchar_t* name, DISPID id, std::vector<TParamSpec> params = {}) {
  return {name, INVOKE_FUNC, id, std::move(params)};
}

std::vector<TFuncSpec> SkedraXFuncs() {
  namespace D = SkedraXDispId;
  const TTypeSpec task = Ref(tiTaskObject);
  return {
      Get(L"GridHeight", D::GridHeight, tLong),
      Get(L"GridWidth", D::GridWidth, tLong),
      Get(L"BorderStyle", D::BorderStyle, Ref(tiTxBorderStyle)),
      Put(L"BorderStyle", D::BorderStyle, Ref(tiTxBorderStyle)),
      Get(L"Color", D::Color, Ref(irOleColor)),
      Put(L"Color", D::Color, Ref(irOleColor)),
      Get(L"Ctl3D", D::Ctl3D, tBool),
      Put(L"Ctl3D", D::Ctl3D, tBool),
      Get(L"DragCursor", D::DragCursor, tShort),
      Put(L"DragCursor", D::DragCursor, tShort),
      Get(L"DragMode", D::DragMode, Ref(tiTxDragMode)),
      Put(L"DragMode", D::DragMode, Ref(tiTxDragMode)),
      Get(L"Enabled", D::Enabled, tBool),
      Put(L"Enabled", D::Enabled, tBool),
      Get(L"Font", D::Font, Ref(irFontDisp, 1)),
      Put(L"Font", D::Font, Ref(irFontDisp, 1)),
      Get(L"ParentColor", D::ParentColor, tBool),
      Put(L"ParentColor", D::ParentColor, tBool),
      Get(L"ParentCtl3D", D::ParentCtl3D, tBool),
      Put(L"ParentCtl3D", D::ParentCtl3D, tBool),
      Get(L"Visible", D::Visible, tBool),
      Put(L"Visible", D::Visible, tBool),
      Get(L"Cursor", D::Cursor, tShort),
      Put(L"Cursor", D::Cursor, tShort),
      Method(L"AboutBox", D::AboutBox),
      Method(L"Clear", D::Clear),
      Method(L"AddTask", D::AddTask, {{L"aTask", PtrTo(task), PARAMFLAG_FIN}}),
      Method(L"Delete", D::Delete, {{L"anID", tLong, PARAMFLAG_FIN}}),
      Method(L"NewTask", D::NewTask),
      Get(L"Count", D::Count, tLong),
      {L"Items", INVOKE_PROPERTYGET, D::Items,
       {{L"anIndex", tLong, PARAMFLAG_FIN}, {L"Value", Ref(tiTaskObject, 2), PARAMFLAG_FOUT | PARAMFLAG_FRETVAL}}},
      Get(L"WeekStart", D::WeekStart, Ref(tiDayOfWeek)),
      Put(L"WeekStart", D::WeekStart, Ref(tiDayOfWeek)),
      Get(L"WeekEnd", D::WeekEnd, Ref(tiDayOfWeek)),
      Put(L"WeekEnd", D::WeekEnd, Ref(tiDayOfWeek)),
      Get(L"DayStart", D::DayStart, tDouble),
      Put(L"DayStart", D::DayStart, tDouble),
      Get(L"DayEnd", D::DayEnd, tDouble),
      Put(L"DayEnd", D::DayEnd, tDouble),
      Get(L"TimeScale", D::TimeScale, tLong),
      Put(L"TimeScale", D::TimeScale, tLong),
      Get(L"ActiveDate", D::ActiveDate, tDouble),
      Put(L"ActiveDate", D::ActiveDate, tDouble),
      Get(L"CurrentDate", D::CurrentDate, tDouble),
      Get(L"SelectedTask", D::SelectedTask, PtrTo(task)),
      Get(L"SkedraType", D::SkedraType, Ref(tiSkedraType)),
      Put(L"SkedraType", D::SkedraType, Ref(tiSkedraType)),
  };
}

std::vector<TFuncSpec> SkedraX2Funcs() {
  namespace D = SkedraXDispId;
  return {
      Get(L"AllowDragTasks", D::AllowDragTasks, tBool),
      Put(L"AllowDragTasks", D::AllowDragTasks, tBool),
      Get(L"ShowCurrentTime", D::ShowCurrentTime, tBool),
      Put(L"ShowCurrentTime", D::ShowCurrentTime, tBool),
      Method(L"BeginUpdate", D::BeginUpdate),
      Method(L"EndUpdate", D::EndUpdate),
      Method(L"Refresh", D::Refresh),
      Method(L"AddTasks", D::AddTasks, {{L"aTasks", Base(VT_VARIANT), PARAMFLAG_FIN}}),
  };
}

const TParamSpec TaskParam{L"aTask", Ref(tiTaskObject, 1), 0};

std::vector<TFuncSpec> SkedraXEventsFuncs() {
  namespace D = SkedraXEventsDispId;
  const TParamSpec task = TaskParam;
  return {
      Method(L"OnClick", D::OnClick),
      Method(L"OnDblClick", D::OnDblClick),
      Method(L"OnKeyPress", D::OnKeyPress, {{L"Key", PtrTo(tShort), PARAMFLAG_FIN | PARAMFLAG_FOUT}}),
      Method(L"OnSelectTask", D::OnSelectTask, {task}),
      Method(L"OnUnselectTask", D::OnUnselectTask, {task}),
      Method(L"OnGetNewID", D::OnGetNewID, {{L"anID", PtrTo(tLong), PARAMFLAG_FIN | PARAMFLAG_FOUT}}),
      Method(L"OnAppendTask", D::OnAppendTask, {task}),
      Method(L"OnUpdateTask", D::OnUpdateTask, {task}),
      Method(L"OnDeleteTask", D::OnDeleteTask, {task}),
  };
}

// Every event of the first version, then the cancelable changes and what follows them.
std::vector<TFuncSpec> SkedraXEvents2Funcs() {
  namespace D = SkedraXEventsDispId;
  const TParamSpec cancel{L"Cancel", PtrTo(tBool), PARAMFLAG_FIN | PARAMFLAG_FOUT};
  const TParamSpec newStart{L"NewStart", tDouble, PARAMFLAG_FIN};
  const TParamSpec newFinish{L"NewFinish", tDouble, PARAMFLAG_FIN};
  std::vector<TFuncSpec> funcs = SkedraXEventsFuncs();
  funcs.insert(funcs.end(), {
                                Method(L"OnBeforeMoveTask", D::OnBeforeMoveTask, {TaskParam, newStart, newFinish, cancel}),
                                Method(L"OnBeforeResizeTask", D::OnBeforeResizeTask,
                                       {TaskParam, newStart, newFinish, cancel}),
                                Method(L"OnBeforeDeleteTask", D::OnBeforeDeleteTask, {TaskParam, cancel}),
                                Method(L"OnBeforeUpdateTask", D::OnBeforeUpdateTask, {TaskParam, cancel}),
                                Method(L"OnTaskMoved", D::OnTaskMoved, {TaskParam}),
                                Method(L"OnTaskResized", D::OnTaskResized, {TaskParam}),
                            });
  return funcs;
}

std::vector<TFuncSpec> TaskObjectFuncs() {
  namespace D = TaskObjectDispId;
  return {
      Get(L"ID", D::ID, tLong),
      Get(L"StartDateTime", D::StartDateTime, tDouble),
      Put(L"StartDateTime", D::StartDateTime, tDouble),
      Get(L"FinishDateTime", D::FinishDateTime, tDouble),
      Put(L"FinishDateTime", D::FinishDateTime, tDouble),
      Get(L"IsPrivate", D::IsPrivate, tBool),
      Put(L"IsPrivate", D::IsPrivate, tBool),
      Get(L"Remind", D::Remind, tLong),
      Put(L"Remind", D::Remind, tLong),
      Get(L"Description", D::Description, tBstr),
      Put(L"Description", D::Description, tBstr),
      Get(L"Notes", D::Notes, tBstr),
      Put(L"Notes", D::Notes, tBstr),
      Get(L"Priority", D::Priority, Ref(tiTaskPriority)),
      Put(L"Priority", D::Priority, Ref(tiTaskPriority)),
      Get(L"TaskType", D::TaskType, Ref(tiTaskType)),
      Put(L"TaskType", D::TaskType, Ref(tiTaskType)),
      Get(L"Status", D::Status, Ref(tiTaskStatus)),
      Put(L"Status", D::Status, Ref(tiTaskStatus)),
      Get(L"Where", D::Where, tBstr),
      Put(L"Where", D::Where, tBstr),
  };
}

std::vector<TFuncSpec> TaskObject2Funcs() { return {Put(L"ID", TaskObjectDispId::ID, tLong)}; }

struct TEnumSpec {
  TTypeIndex index;
  std::vector<const wchar_t*> constants;  // value == position == member id
};

struct TTypeSpecEntry {
  TTypeIndex index;
  const wchar_t* name;
  TYPEKIND kind;
  const GUID* guid;
  const wchar_t* doc;  // nullptr: no help string
};

const TTypeSpecEntry Types[tiCount] = {
    {tiSkedraX, L"ISkedraX", TKIND_INTERFACE, &IID_ISkedraX, L"Dispatch interface for SkedraX Control"},
    {tiSkedraXEvents, L"ISkedraXEvents", TKIND_DISPATCH, &DIID_ISkedraXEvents, L"Events interface for SkedraX Control"},
    {tiSkedraXClass, L"SkedraX", TKIND_COCLASS, &CLSID_SkedraX, L"SkedraXControl"},
    {tiTxBorderStyle, L"TxBorderStyle", TKIND_ENUM, &GUID_TxBorderStyle, nullptr},
    {tiTxDragMode, L"TxDragMode", TKIND_ENUM, &GUID_TxDragMode, nullptr},
    {tiTxScrollStyle, L"TxScrollStyle", TKIND_ENUM, &GUID_TxScrollStyle, nullptr},
    {tiTxMouseButton, L"TxMouseButton", TKIND_ENUM, &GUID_TxMouseButton, nullptr},
    {tiTaskObject, L"ITaskObject", TKIND_INTERFACE, &IID_ITaskObject, nullptr},
    {tiTaskObjectXClass, L"TaskObjectX", TKIND_COCLASS, &CLSID_TaskObjectX, L"TaskObject"},
    {tiSkedraType, L"ISkedraType", TKIND_ENUM, &GUID_ISkedraType, nullptr},
    {tiDayOfWeek, L"IDayOfWeek", TKIND_ENUM, &GUID_IDayOfWeek, nullptr},
    {tiTaskPriority, L"ITaskPriority", TKIND_ENUM, &GUID_ITaskPriority, nullptr},
    {tiTaskType, L"ITaskType", TKIND_ENUM, &GUID_ITaskType, nullptr},
    {tiTaskStatus, L"ITaskStatus", TKIND_ENUM, &GUID_ITaskStatus, nullptr},
    {tiSkedraX2, L"ISkedraX2", TKIND_INTERFACE, &IID_ISkedraX2,
     L"Dispatch interface for SkedraX Control: dragging, batches and the current time"},
    {tiSkedraXEvents2, L"ISkedraXEvents2", TKIND_DISPATCH, &DIID_ISkedraXEvents2,
     L"Events interface for SkedraX Control: every event, and changes a handler may cancel"},
    {tiTaskObject2, L"ITaskObject2", TKIND_INTERFACE, &IID_ITaskObject2, L"TaskObject with an identifier to set"},
};

const std::vector<TEnumSpec> Enums = {
    {tiTxBorderStyle, {L"bsNone", L"bsSingle"}},
    {tiTxDragMode, {L"dmManual", L"dmAutomatic"}},
    {tiTxScrollStyle, {L"ssNone", L"ssHorizontal", L"ssVertical", L"ssBoth"}},
    {tiTxMouseButton, {L"mbLeft", L"mbRight", L"mbMiddle"}},
    {tiSkedraType, {L"skDaily", L"skWeekly"}},
    {tiDayOfWeek, {L"dwMon", L"dwTue", L"dwWed", L"dwThu", L"dwFri", L"dwSat", L"dwSun"}},
    {tiTaskPriority, {L"tpLow", L"tpNormal", L"tpHigh"}},
    {tiTaskType, {L"ttTask", L"ttContact", L"ttEvent"}},
    {tiTaskStatus, {L"tsActive", L"tsCompleted", L"tsSuspend"}},
};

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) {
    char text[256];
    std::snprintf(text, sizeof text, "%s failed: 0x%08lX", what, static_cast<unsigned long>(hr));
    throw std::runtime_error(text);
  }
}

template <class T>
struct TComPtr {
  T* p = nullptr;
  TComPtr() = default;
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  ~TComPtr() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
  operator T*() const { return p; }
};

ITypeInfo* FindTypeByName(ITypeLib* lib, const wchar_t* name) {
  const UINT count = lib->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    BSTR typeName = nullptr;
    if (SUCCEEDED(lib->GetDocumentation(static_cast<INT>(i), &typeName, nullptr, nullptr, nullptr))) {
      const bool match = typeName && std::wcscmp(typeName, name) == 0;
      SysFreeString(typeName);
      if (match) {
        ITypeInfo* info = nullptr;
        Check(lib->GetTypeInfo(i, &info), "ITypeLib::GetTypeInfo");
        return info;
      }
    }
  }
  throw std::runtime_error("standard type not found");
}

// Keeps the TYPEDESC chains alive until the member that uses them has been added.
class TTypeDescBuilder {
 public:
  TYPEDESC Build(const TTypeSpec& type, const HREFTYPE* hrefs) {
    TYPEDESC inner{};
    inner.vt = type.vt;
    if (type.vt == VT_USERDEFINED) inner.hreftype = hrefs[Slot(type.ref)];
    for (int i = 0; i < type.pointers; ++i) {
      FNodes.push_back(std::make_unique<TYPEDESC>(inner));
      inner = TYPEDESC{};
      inner.vt = VT_PTR;
      inner.lptdesc = FNodes.back().get();
    }
    return inner;
  }
  static int Slot(int ref) { return ref == irOleColor ? tiCount : ref == irFontDisp ? tiCount + 1 : ref; }

 private:
  std::vector<std::unique_ptr<TYPEDESC>> FNodes;
};

constexpr int HrefSlots = tiCount + 2;

// firstSlot: 0 lets LayOut number the function-table slots after the inherited ones; otherwise the
// slot of the first function, whose offset LayOut keeps as given. A second version needs it: LayOut
// reads the size of a dual base's table as IDispatch's, in the generating process's pointer size.
void AddFuncs(ICreateTypeInfo2* info, const std::vector<TFuncSpec>& funcs, bool dispatchOnly, const HREFTYPE* hrefs,
              UINT firstSlot = 0) {
  constexpr UINT LibrarySlotSize = 4;  // the library describes 32-bit Windows
  for (UINT i = 0; i < funcs.size(); ++i) {
    const TFuncSpec& f = funcs[i];
    TTypeDescBuilder types;
    std::vector<ELEMDESC> params(f.params.size());
    for (size_t j = 0; j < f.params.size(); ++j) {
      params[j].tdesc = types.Build(f.params[j].type, hrefs);
      params[j].paramdesc.wParamFlags = f.params[j].flags;
    }
    FUNCDESC desc{};
    desc.memid = f.id;
    desc.funckind = dispatchOnly ? FUNC_DISPATCH : FUNC_PUREVIRTUAL;
    desc.invkind = f.kind;
    desc.callconv = CC_STDCALL;
    desc.cParams = static_cast<SHORT>(params.size());
    desc.lprgelemdescParam = params.empty() ? nullptr : params.data();
    desc.oVft = firstSlot == 0 ? 0 : static_cast<SHORT>((firstSlot + i) * LibrarySlotSize);
    desc.elemdescFunc.tdesc = types.Build(dispatchOnly ? tVoid : tHresult, hrefs);
    Check(info->AddFuncDesc(i, &desc), "AddFuncDesc");

    std::vector<LPOLESTR> names{const_cast<LPOLESTR>(f.name)};
    for (const TParamSpec& p : f.params)
      if (p.name) names.push_back(const_cast<LPOLESTR>(p.name));
    Check(info->SetFuncAndParamNames(i, names.data(), static_cast<UINT>(names.size())), "SetFuncAndParamNames");
  }
}

void AddEnum(ICreateTypeInfo2* info, const TEnumSpec& enumeration) {
  for (UINT i = 0; i < enumeration.constants.size(); ++i) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_I4;
    V_I4(&value) = static_cast<LONG>(i);
    VARDESC desc{};
    desc.memid = static_cast<MEMBERID>(i);
    desc.lpvarValue = &value;
    desc.elemdescVar.tdesc.vt = VT_I4;
    desc.varkind = VAR_CONST;
    Check(info->AddVarDesc(i, &desc), "AddVarDesc");
    Check(info->SetVarName(i, const_cast<LPOLESTR>(enumeration.constants[i])), "SetVarName");
  }
}

// Wine's ICreateTypeInfo::AddRefTypeInfo records every imported type by its GUID (MSFT impinfo flag
// MSFT_IMPINFO_OFFSET_IS_GUID, oGuid = offset of the GUID in the GUID table), and the loader resolves such a record
// with ITypeLib::GetTypeInfoOfGuid. stdole2's IFontDisp is an alias without a GUID, so the record names GUID_NULL
// and reads back as whichever GUID-less type of stdole2 comes first. MIDL and widl record such a type by its index
// in the imported library instead (flag clear, oGuid = type index), which is what this rewrites in the saved file.
// The record is the one the hreftype designates: Wine hands out hreftype = byte offset of the record | 1.
void PatchGuidlessImport(const wchar_t* path, HREFTYPE href, UINT importedIndex) {
  constexpr unsigned HeaderSize = 0x54;           // MSFT_Header
  constexpr unsigned SegmentSize = 16;             // MSFT_pSeg: offset, length, res08, res0c
  constexpr unsigned ImpInfoSeg = 1, GuidSeg = 5;  // indexes in MSFT_SegDir
  constexpr unsigned ImpInfoSize = 12;             // MSFT_ImpInfo: flags, oImpFile, oGuid
  constexpr DWORD OffsetIsGuid = 0x00010000;       // MSFT_IMPINFO_OFFSET_IS_GUID
  constexpr DWORD HelpDllFlag = 0x0100;

  std::vector<char> file;
  {
    std::ifstream in(path, std::ios::binary);
    file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  auto dword = [&](size_t at) -> DWORD& {
    if (at + 4 > file.size()) throw std::runtime_error("type library truncated");
    return *reinterpret_cast<DWORD*>(file.data() + at);
  };
  if (dword(0) != 0x5446534D) throw std::runtime_error("not an MSFT type library");
  const DWORD varflags = dword(0x14), typeCount = dword(0x20);
  const size_t segDir = HeaderSize + typeCount * 4 + ((varflags & HelpDllFlag) ? 4 : 0);
  const DWORD impInfo = dword(segDir + ImpInfoSeg * SegmentSize);
  const DWORD guids = dword(segDir + GuidSeg * SegmentSize);

  const size_t record = impInfo + (href & ~3u);
  DWORD& flags = dword(record);
  DWORD& oGuid = dword(record + 8);
  static_assert(ImpInfoSize == 12, "MSFT_ImpInfo layout");
  if (!(flags & OffsetIsGuid) || (flags >> 24) != TKIND_ALIAS)
    throw std::runtime_error("unexpected impinfo record for IFontDisp");
  GUID stored;
  std::memcpy(&stored, file.data() + guids + oGuid, sizeof stored);
  if (stored != GUID_NULL) throw std::runtime_error("IFontDisp impinfo record does not name GUID_NULL");

  flags &= ~OffsetIsGuid;
  oGuid = importedIndex;

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  if (!out) throw std::runtime_error("cannot rewrite the type library");
}

struct TFontDispImport {
  HREFTYPE href;
  UINT index;
};

// A 64-bit generator (for hosts that cannot run 32-bit Wine) must import the 32-bit standard libraries, passed as a
// folder: the vtable size of the inherited IDispatch comes from them, and a 64-bit stdole32 would give 7*8 bytes.
std::wstring StdOlePath(const std::wstring& folder, const wchar_t* file) {
  if (folder.empty()) return file;
  return folder + (folder.back() == L'\\' ? L"" : L"\\") + file;
}

TFontDispImport Generate(const wchar_t* path, const std::wstring& stdoleFolder) {
  TComPtr<ICreateTypeLib2> lib;
  Check(CreateTypeLib2(SYS_WIN32, path, &lib), "CreateTypeLib2");
  Check(lib->SetName(const_cast<LPOLESTR>(L"SkedraXControl")), "SetName");
  Check(lib->SetDocString(const_cast<LPOLESTR>(L"SkedraXControl Library")), "SetDocString");
  Check(lib->SetGuid(LIBID_SkedraXControl), "SetGuid");
  Check(lib->SetVersion(SkedraXControlMajorVersion, SkedraXControlMinorVersion), "SetVersion");
  Check(lib->SetLcid(SkedraXControlLcid), "SetLcid");
  Check(lib->SetLibFlags(LIBFLAG_FCONTROL), "SetLibFlags");

  TComPtr<ITypeLib> stdole32, stdole2;
  Check(LoadTypeLib(StdOlePath(stdoleFolder, L"stdole32.tlb").c_str(), &stdole32), "LoadTypeLib(stdole32.tlb)");
  Check(LoadTypeLib(StdOlePath(stdoleFolder, L"stdole2.tlb").c_str(), &stdole2), "LoadTypeLib(stdole2.tlb)");
  TComPtr<ITypeInfo> dispatch, oleColor, fontDisp;
  Check(stdole32->GetTypeInfoOfGuid(IID_IDispatch, &dispatch), "stdole32 IDispatch");
  oleColor.p = FindTypeByName(stdole2, L"OLE_COLOR");
  fontDisp.p = FindTypeByName(stdole2, L"IFontDisp");
  TFontDispImport font{};
  {
    TComPtr<ITypeLib> container;
    Check(fontDisp->GetContainingTypeLib(&container, &font.index), "IFontDisp GetContainingTypeLib");
  }

  TComPtr<ICreateTypeInfo> created[tiCount];
  TComPtr<ICreateTypeInfo2> infos[tiCount];
  for (const TTypeSpecEntry& t : Types) {
    Check(lib->CreateTypeInfo(const_cast<LPOLESTR>(t.name), t.kind, &created[t.index]), "CreateTypeInfo");
    Check(created[t.index]->QueryInterface(IID_ICreateTypeInfo2, reinterpret_cast<void**>(&infos[t.index])),
          "QueryInterface(ICreateTypeInfo2)");
    Check(infos[t.index]->SetGuid(*t.guid), "ICreateTypeInfo::SetGuid");
    Check(infos[t.index]->SetVersion(1, 0), "ICreateTypeInfo::SetVersion");
    if (t.doc) Check(infos[t.index]->SetDocString(const_cast<LPOLESTR>(t.doc)), "ICreateTypeInfo::SetDocString");
  }

  // The first reference to IDispatch goes to stdole32.tlb: Wine keeps one reference per GUID, and its
  // SetTypeFlags(TYPEFLAG_FDUAL) would otherwise create it from stdole2.tlb.
  HREFTYPE hrefs[HrefSlots];
  HREFTYPE hrefDispatch = 0;
  Check(infos[tiSkedraX]->AddRefTypeInfo(dispatch, &hrefDispatch), "AddRefTypeInfo(IDispatch)");
  for (int i = 0; i < tiCount; ++i) {
    TComPtr<ITypeInfo> own;
    Check(infos[i]->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&own)), "QueryInterface(ITypeInfo)");
    Check(infos[tiSkedraX]->AddRefTypeInfo(own, &hrefs[i]), "AddRefTypeInfo(own type)");
  }
  Check(infos[tiSkedraX]->AddRefTypeInfo(oleColor, &hrefs[TTypeDescBuilder::Slot(irOleColor)]),
        "AddRefTypeInfo(OLE_COLOR)");
  Check(infos[tiSkedraX]->AddRefTypeInfo(fontDisp, &font.href), "AddRefTypeInfo(IFontDisp)");
  hrefs[TTypeDescBuilder::Slot(irFontDisp)] = font.href;

  // SetTypeFlags replaces the flags that AddImplType may have set, so it comes after it. Wine's AddImplType marks a
  // type dispatchable when the reference's offset equals IDispatch's, which also hits the own type at offset 0
  // (ISkedraX, implemented by SkedraX). TYPEFLAG_FDISPATCHABLE is set where the type derives from IDispatch.
  const UINT dualFlags = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
  for (TTypeIndex dual : {tiSkedraX, tiTaskObject}) {
    Check(infos[dual]->AddImplType(0, hrefDispatch), "AddImplType(IDispatch)");
    Check(infos[dual]->SetTypeFlags(dualFlags), "SetTypeFlags(dual)");
  }
  AddFuncs(infos[tiSkedraX], SkedraXFuncs(), false, hrefs);
  AddFuncs(infos[tiTaskObject], TaskObjectFuncs(), false, hrefs);
  // A second version derives from its first one, whose function table it extends.
  for (auto [derived, base] : {std::pair{tiSkedraX2, tiSkedraX}, std::pair{tiTaskObject2, tiTaskObject}}) {
    Check(infos[derived]->AddImplType(0, hrefs[base]), "AddImplType(first version)");
    Check(infos[derived]->SetTypeFlags(dualFlags), "SetTypeFlags(second version)");
  }
  constexpr UINT InheritedSlots = 7;  // IUnknown's and IDispatch's
  AddFuncs(infos[tiSkedraX2], SkedraX2Funcs(), false, hrefs,
           InheritedSlots + static_cast<UINT>(SkedraXFuncs().size()));
  AddFuncs(infos[tiTaskObject2], TaskObject2Funcs(), false, hrefs,
           InheritedSlots + static_cast<UINT>(TaskObjectFuncs().size()));

  for (auto [events, funcs] : {std::pair{tiSkedraXEvents, SkedraXEventsFuncs()},
                               std::pair{tiSkedraXEvents2, SkedraXEvents2Funcs()}}) {
    Check(infos[events]->AddImplType(0, hrefDispatch), "AddImplType(IDispatch) events");
    Check(infos[events]->SetTypeFlags(TYPEFLAG_FDISPATCHABLE), "SetTypeFlags(events)");
    AddFuncs(infos[events], funcs, true, hrefs);
  }

  Check(infos[tiSkedraXClass]->AddImplType(0, hrefs[tiSkedraX]), "AddImplType(ISkedraX)");
  Check(infos[tiSkedraXClass]->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), "SetImplTypeFlags(ISkedraX)");
  Check(infos[tiSkedraXClass]->AddImplType(1, hrefs[tiSkedraXEvents]), "AddImplType(ISkedraXEvents)");
  Check(infos[tiSkedraXClass]->SetImplTypeFlags(1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE),
        "SetImplTypeFlags(ISkedraXEvents)");
  Check(infos[tiSkedraXClass]->SetTypeFlags(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL), "SetTypeFlags(SkedraX)");

  Check(infos[tiTaskObjectXClass]->AddImplType(0, hrefs[tiTaskObject]), "AddImplType(ITaskObject)");
  Check(infos[tiTaskObjectXClass]->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), "SetImplTypeFlags(ITaskObject)");
  Check(infos[tiTaskObjectXClass]->SetTypeFlags(TYPEFLAG_FCANCREATE), "SetTypeFlags(TaskObjectX)");

  for (const TEnumSpec& e : Enums) AddEnum(infos[e.index], e);

  for (auto& info : infos) Check(info->LayOut(), "LayOut");
  Check(lib->SaveAllChanges(), "SaveAllChanges");
  return font;
}

// Reads the saved library back and confirms that the Font property's type is stdole2's IFontDisp.
void VerifyFontReference(const wchar_t* path) {
  TComPtr<ITypeLib> lib;
  Check(LoadTypeLibEx(path, REGKIND_NONE, &lib), "LoadTypeLibEx(generated)");
  TComPtr<ITypeInfo> dispView, info;
  Check(lib->GetTypeInfo(tiSkedraX, &dispView), "GetTypeInfo(ISkedraX)");
  HREFTYPE ifaceHref = 0;
  Check(dispView->GetRefTypeOfImplType(static_cast<UINT>(-1), &ifaceHref), "GetRefTypeOfImplType(-1)");
  Check(dispView->GetRefTypeInfo(ifaceHref, &info), "GetRefTypeInfo(interface view)");
  FUNCDESC* put = nullptr;
  Check(info->GetFuncDesc(15, &put), "GetFuncDesc(put_Font)");  // put Font: [in] IFontDisp*
  const TYPEDESC& t = put->lprgelemdescParam[0].tdesc;
  const bool shape = t.vt == VT_PTR && t.lptdesc->vt == VT_USERDEFINED;
  const HREFTYPE href = shape ? t.lptdesc->hreftype : 0;
  info->ReleaseFuncDesc(put);
  if (!shape) throw std::runtime_error("put Font has an unexpected parameter type");
  TComPtr<ITypeInfo> font;
  Check(info->GetRefTypeInfo(href, &font), "GetRefTypeInfo(IFontDisp)");
  BSTR name = nullptr;
  Check(font->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), "GetDocumentation(IFontDisp)");
  const bool ok = name && std::wcscmp(name, L"IFontDisp") == 0;
  SysFreeString(name);
  if (!ok) throw std::runtime_error("the Font reference does not read back as IFontDisp");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: tlbgen <output.tlb> [folder of 32-bit stdole32.tlb and stdole2.tlb]\n");
    return 2;
  }
  if (FAILED(CoInitialize(nullptr))) return 1;
  int rc = 0;
  try {
    const TFontDispImport font = Generate(argv[1], argc == 3 ? argv[2] : L"");
    PatchGuidlessImport(argv[1], font.href, font.index);
    VerifyFontReference(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tlbgen: %s\n", e.what());
    rc = 1;
  }
  CoUninitialize();
  return rc;
}
