// Member names resolve on the objects as the type information resolves them, in any case.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "SkedraXControl_TLB/SkedraXControl_TLB.h"

namespace skx::test {
namespace {

HRESULT IdOf(IDispatch* object, const std::wstring& name, DISPID& id) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
  id = DISPID_UNKNOWN;
  return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

void ExpectTypeInfoIds(REFCLSID classId) {
  IDispatch* object = nullptr;
  ASSERT_EQ(::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&object)),
            S_OK);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  const WORD count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  EXPECT_GT(count, 7);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* desc = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &desc), S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(info->GetDocumentation(desc->memid, &name, nullptr, nullptr, nullptr), S_OK);
    std::wstring lower(name);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(::towlower(c));
    DISPID id = 0;
    EXPECT_EQ(IdOf(object, name, id), S_OK);
    EXPECT_EQ(id, desc->memid) << testing::PrintToString(lower);
    EXPECT_EQ(IdOf(object, lower, id), S_OK);
    EXPECT_EQ(id, desc->memid) << testing::PrintToString(lower);
    ::SysFreeString(name);
    info->ReleaseFuncDesc(desc);
  }
  DISPID id = 0;
  EXPECT_EQ(IdOf(object, L"NoSuchMember", id), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, DISPID_UNKNOWN);
  EXPECT_EQ(IdOf(object, L"Count\u00ff", id), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(IdOf(object, L"", id), DISP_E_UNKNOWNNAME);
  info->Release();
  object->Release();
}

TEST(MemberIds, ControlResolvesEveryMemberAsItsTypeInformation) { ExpectTypeInfoIds(CLSID_SkedraX); }

TEST(MemberIds, TaskObjectResolvesEveryMemberAsItsTypeInformation) { ExpectTypeInfoIds(CLSID_TaskObjectX); }

TEST(MemberIds, ParameterNamesStillResolveThroughTheTypeInformation) {
  IDispatch* object = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&object)),
            S_OK);
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"priority"), const_cast<LPOLESTR>(L"NoSuchParameter")};
  DISPID ids[2] = {0, 0};
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], TaskObjectDispId::Priority);
  object->Release();
}

}  // namespace
}  // namespace skx::test
