// Error information for a failed member.
#include "Framework/Com/ErrorTrap.h"

#include <oleauto.h>

namespace skx {

HRESULT TErrorTrap::Fail(const String& message, HRESULT result) const noexcept {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(::CreateErrorInfo(&create))) {
    create->SetDescription(const_cast<LPOLESTR>(message.c_str()));
    create->SetSource(const_cast<LPOLESTR>(FSource.c_str()));
    create->SetGUID(FIid);
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
