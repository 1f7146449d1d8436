// Class factories: creation with a guard reference, names from the type library, registry entries.
#include "Framework/Com/ClassFactory.h"

#include "Framework/Com/ComServer.h"
#include "Framework/Com/ComUtil.h"
#include "Framework/Com/Registry.h"
#include "Framework/Core/Exceptions.h"

namespace skx {

TComObjectFactory::TComObjectFactory(TComServer& server, const wchar_t* objectClassName, REFCLSID classId)
    : FServer(server), FObjectClassName(objectClassName), FClassId(classId) {
  server.AddFactory(this);
}

TComObjectFactory::~TComObjectFactory() {
  if (FClassInfo != nullptr) FClassInfo->Release();
}

void TComObjectFactory::LoadClassInfo() {
  if (FClassInfo != nullptr) return;
  ITypeInfo* info = nullptr;
  if (FAILED(FServer.TypeLib()->GetTypeInfoOfGuid(FClassId, &info))) {
    throw Exception(FormatText(L"Type information missing for class %s", FObjectClassName));
  }
  FClassInfo = info;
  BSTR name = nullptr;
  BSTR doc = nullptr;
  OleCheck(info->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr));
  FClassName = BstrToString(name);
  FDescription = BstrToString(doc);
  ::SysFreeString(name);
  ::SysFreeString(doc);
}

const std::wstring& TComObjectFactory::ClassName() {
  LoadClassInfo();
  return FClassName;
}

const std::wstring& TComObjectFactory::Description() {
  LoadClassInfo();
  return FDescription;
}

std::wstring TComObjectFactory::ProgID() { return FServer.ServerName() + L"." + ClassName(); }

ITypeInfo* TComObjectFactory::ClassInfo() {
  LoadClassInfo();
  return FClassInfo;
}

void TComObjectFactory::UpdateRegistry(bool add) {
  std::wstring clsid = GuidToString(FClassId);
  std::wstring classKey = L"CLSID\\" + clsid;
  if (!add) {
    DeleteRegKeyTree(classKey);
    DeleteRegKeyTree(ProgID());
    return;
  }
  TLIBATTR* attr = nullptr;
  OleCheck(FServer.TypeLib()->GetLibAttr(&attr));
  std::wstring libId = GuidToString(attr->guid);
  wchar_t version[32];
  ::wsprintfW(version, L"%d.%d", attr->wMajorVerNum, attr->wMinorVerNum);
  FServer.TypeLib()->ReleaseTLibAttr(attr);

  CreateRegKey(classKey, Description());
  CreateRegKey(classKey + L"\\InprocServer32", QuotedPath(FServer.ModulePath()));
  CreateRegKey(classKey + L"\\ProgID", ProgID());
  CreateRegKey(ProgID(), Description());
  CreateRegKey(ProgID() + L"\\Clsid", clsid);
  CreateRegKey(classKey + L"\\TypeLib", libId);
  CreateRegKey(classKey + L"\\Version", version);
}

HRESULT STDMETHODCALLTYPE TComObjectFactory::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE TComObjectFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  try {
    IUnknown* instance = CreateComObject();
    instance->AddRef();
    HRESULT result = instance->QueryInterface(riid, object);
    instance->Release();
    return result;
  } catch (const EOleError& e) {
    return e.Code();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT STDMETHODCALLTYPE TComObjectFactory::LockServer(BOOL lock) {
  FServer.LockServer(lock != FALSE);
  return S_OK;
}

TAutoObjectFactory::TAutoObjectFactory(TComServer& server, const wchar_t* objectClassName, REFCLSID classId,
                                       TCreator creator, REFIID dispatchInterface)
    : TComObjectFactory(server, objectClassName, classId),
      FCreator(std::move(creator)),
      FDispatchIid(dispatchInterface) {}

TAutoObjectFactory::~TAutoObjectFactory() {
  if (FDispatchInfo != nullptr) FDispatchInfo->Release();
  if (FInvokeInfo != nullptr) FInvokeInfo->Release();
}

ITypeInfo* TComObjectFactory::DefaultTypeInfo(bool source) {
  ITypeInfo* classInfo = ClassInfo();
  TYPEATTR* attr = nullptr;
  OleCheck(classInfo->GetTypeAttr(&attr));
  WORD count = attr->cImplTypes;
  classInfo->ReleaseTypeAttr(attr);
  INT wanted = IMPLTYPEFLAG_FDEFAULT | (source ? IMPLTYPEFLAG_FSOURCE : 0);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    OleCheck(classInfo->GetImplTypeFlags(i, &flags));
    if ((flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) != wanted) continue;
    HREFTYPE ref = 0;
    ITypeInfo* info = nullptr;
    OleCheck(classInfo->GetRefTypeOfImplType(i, &ref));
    OleCheck(classInfo->GetRefTypeInfo(ref, &info));
    return info;
  }
  throw Exception(FormatText(L"Type information missing for class %s", ClassName()));
}

void TAutoObjectFactory::LoadInterfaceInfo() {
  if (FInvokeInfo != nullptr) return;
  // Errors name the class's default interface, whatever interface IDispatch answers for.
  if (FDispatchInfo == nullptr) {
    FDispatchInfo = DefaultTypeInfo(false);
    TYPEATTR* attr = nullptr;
    OleCheck(FDispatchInfo->GetTypeAttr(&attr));
    FDefaultIid = attr->guid;
    FDispatchInfo->ReleaseTypeAttr(attr);
    if (!::IsEqualIID(FDispatchIid, IID_NULL)) {
      FDispatchInfo->Release();
      FDispatchInfo = nullptr;
      OleCheck(Server().TypeLib()->GetTypeInfoOfGuid(FDispatchIid, &FDispatchInfo));
    }
  }
  TYPEATTR* attr = nullptr;
  OleCheck(FDispatchInfo->GetTypeAttr(&attr));
  bool dual = attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0;
  FDispatchInfo->ReleaseTypeAttr(attr);
  // Late-bound calls on a dual interface go through its vtable view.
  HREFTYPE vtableRef = 0;
  if (!dual || FAILED(FDispatchInfo->GetRefTypeOfImplType(-1, &vtableRef)) ||
      FAILED(FDispatchInfo->GetRefTypeInfo(vtableRef, &FInvokeInfo))) {
    FInvokeInfo = FDispatchInfo;
    FInvokeInfo->AddRef();
  }
  FMemberIds = TMemberIds(FInvokeInfo);
}

ITypeInfo* TAutoObjectFactory::DispatchTypeInfo() {
  LoadInterfaceInfo();
  return FDispatchInfo;
}

ITypeInfo* TAutoObjectFactory::InvokeTypeInfo() {
  LoadInterfaceInfo();
  return FInvokeInfo;
}

const TMemberIds& TAutoObjectFactory::MemberIds() {
  LoadInterfaceInfo();
  return FMemberIds;
}

REFIID TAutoObjectFactory::DefaultInterface() {
  LoadInterfaceInfo();
  return FDefaultIid;
}

}  // namespace skx
