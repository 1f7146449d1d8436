// The control factory's registry entries and the look-up of the control's event interface.
#include "Framework/Com/ActiveXControlFactory.h"

#include <olectl.h>

#include "Framework/Com/ComServer.h"
#include "Framework/Com/ComUtil.h"
#include "Framework/Com/Registry.h"
#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

constexpr DWORD ControlMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                    OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;

}  // namespace

TActiveXControlFactory::TActiveXControlFactory(TComServer& server, const wchar_t* objectClassName,
                                               REFCLSID classId, TCreator creator,
                                               TWindowControlClass controlClass, int toolboxBitmap,
                                               DWORD miscStatus)
    : TAutoObjectFactory(server, objectClassName, classId, std::move(creator)),
      FControlClass(std::move(controlClass)),
      FToolboxBitmap(toolboxBitmap),
      FMiscStatus(miscStatus) {}

DWORD TActiveXControlFactory::MiscStatus() const { return FMiscStatus | ControlMiscStatus; }

REFIID TActiveXControlFactory::EventInterface() {
  if (!::IsEqualIID(FEventIid, IID_NULL)) return FEventIid;
  ITypeInfo* classInfo = ClassInfo();
  TYPEATTR* attr = nullptr;
  OleCheck(classInfo->GetTypeAttr(&attr));
  WORD count = attr->cImplTypes;
  classInfo->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    OleCheck(classInfo->GetImplTypeFlags(i, &flags));
    if ((flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) != (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE))
      continue;
    HREFTYPE ref = 0;
    ITypeInfo* info = nullptr;
    OleCheck(classInfo->GetRefTypeOfImplType(i, &ref));
    OleCheck(classInfo->GetRefTypeInfo(ref, &info));
    HRESULT result = info->GetTypeAttr(&attr);
    if (SUCCEEDED(result)) {
      FEventIid = attr->guid;
      info->ReleaseTypeAttr(attr);
    }
    info->Release();
    OleCheck(result);
    return FEventIid;
  }
  throw Exception(FormatText(L"Type information missing for class %s", ClassName()));
}

void TActiveXControlFactory::UpdateRegistry(bool add) {
  TAutoObjectFactory::UpdateRegistry(add);
  if (!add) return;
  std::wstring classKey = L"CLSID\\" + GuidToString(ClassId());
  CreateRegKeyNoValue(classKey + L"\\Control");
  CreateRegKey(classKey + L"\\MiscStatus", L"0");
  CreateRegKey(classKey + L"\\MiscStatus\\1", std::to_wstring(MiscStatus()));
  CreateRegKey(classKey + L"\\ToolboxBitmap32",
               QuotedPath(Server().ModulePath()) + L"," + std::to_wstring(FToolboxBitmap));
  CreateRegKeyNoValue(classKey + L"\\Verb");
  CreateRegKey(classKey + L"\\Verb\\0", L"Properties,0,2");
}

}  // namespace skx
