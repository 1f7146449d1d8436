// COM helpers: failure checks, BSTR conversions, GUID texts.
#include "Framework/Com/ComUtil.h"

#include "Framework/Core/Exceptions.h"

namespace skx {

HRESULT OleCheck(HRESULT result) {
  if (FAILED(result)) {
    wchar_t* text = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    String message;
    if (length > 0 && text != nullptr) {
      message.assign(text, length);
      while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    } else {
      wchar_t code[32];
      ::wsprintfW(code, L"OLE error %08X", static_cast<unsigned>(result));
      message = code;
    }
    if (text != nullptr) ::LocalFree(text);
    throw EOleError(message, result);
  }
  return result;
}

String BstrToString(BSTR value) {
  return value == nullptr ? String() : String(value, ::SysStringLen(value));
}

BSTR StringToBstr(const String& value) {
  if (value.empty()) return nullptr;
  BSTR result = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  if (result == nullptr) OleCheck(E_OUTOFMEMORY);
  return result;
}

std::wstring GuidToString(REFGUID guid) {
  wchar_t text[40];
  int length = ::StringFromGUID2(guid, text, 40);
  return std::wstring(text, length > 0 ? length - 1 : 0);
}

}  // namespace skx
