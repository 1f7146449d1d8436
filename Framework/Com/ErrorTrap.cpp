// Error information for a failed automation member.
#include "Framework/Com/ErrorTrap.h"

#include <oleauto.h>

namespace skx {

HRESULT SetComError(const String& message, const std::wstring& source, REFIID iid, HRESULT result) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(::CreateErrorInfo(&create))) {
    create->SetDescription(const_cast<LPOLESTR>(message.c_str()));
    create->SetSource(const_cast<LPOLESTR>(source.c_str()));
    create->SetGUID(iid);
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      ::SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return result;
}

}  // namespace skx
