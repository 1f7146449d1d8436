// Registry writes under HKEY_CLASSES_ROOT.
#include "Framework/Com/Registry.h"

#include "Framework/Com/ComUtil.h"
#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

HKEY OpenOrCreate(const std::wstring& key) {
  HKEY handle = nullptr;
  LONG result = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_WRITE, nullptr, &handle, nullptr);
  if (result != ERROR_SUCCESS) OleCheck(HRESULT_FROM_WIN32(result));
  return handle;
}

}  // namespace

void CreateRegKey(const std::wstring& key, const std::wstring& value) {
  HKEY handle = OpenOrCreate(key);
  LONG result = ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(handle);
  if (result != ERROR_SUCCESS) OleCheck(HRESULT_FROM_WIN32(result));
}

void CreateRegKeyNoValue(const std::wstring& key) { ::RegCloseKey(OpenOrCreate(key)); }

void DeleteRegKeyTree(const std::wstring& key) {
  LONG result = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) OleCheck(HRESULT_FROM_WIN32(result));
  result = ::RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) OleCheck(HRESULT_FROM_WIN32(result));
}

std::wstring QuotedPath(const std::wstring& path) {
  return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
}

void RegisterNeutralTypeLibKey(ITypeLib* typeLib, const std::wstring& path, bool add) {
  TLIBATTR* attr = nullptr;
  OleCheck(typeLib->GetLibAttr(&attr));
  wchar_t version[32];
  ::wsprintfW(version, L"%x.%x", attr->wMajorVerNum, attr->wMinorVerNum);
  std::wstring key = L"TypeLib\\" + GuidToString(attr->guid) + L"\\" + version + L"\\0";
  typeLib->ReleaseTLibAttr(attr);
  if (add) {
    CreateRegKey(key + L"\\win32", path);
  } else {
    DeleteRegKeyTree(key);
  }
}

}  // namespace skx
