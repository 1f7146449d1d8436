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
                                               DWORD miscStatus, REFIID dispatchInterface,
                                               std::vector<IID> moreEventInterfaces)
    : TAutoObjectFactory(server, objectClassName, classId, std::move(creator), dispatchInterface),
      FControlClass(std::move(controlClass)),
      FToolboxBitmap(toolboxBitmap),
      FMiscStatus(miscStatus),
      FMoreEventIids(std::move(moreEventInterfaces)) {}

DWORD TActiveXControlFactory::MiscStatus() const { return FMiscStatus | ControlMiscStatus; }

REFIID TActiveXControlFactory::EventInterface(size_t index) {
  if (index > 0) return FMoreEventIids.at(index - 1);
  if (!::IsEqualIID(FEventIid, IID_NULL)) return FEventIid;
  TComRef<ITypeInfo> info(DefaultTypeInfo(true));
  TYPEATTR* attr = nullptr;
  OleCheck(info->GetTypeAttr(&attr));
  FEventIid = attr->guid;
  info->ReleaseTypeAttr(attr);
  return FEventIid;
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
