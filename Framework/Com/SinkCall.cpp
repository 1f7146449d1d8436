// Late-bound sink calls: arguments reversed into DISPPARAMS, failures raised.
#include "Framework/Com/SinkCall.h"

#include <oleauto.h>

#include <vector>

#include "Framework/Com/ComUtil.h"
#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

VARIANT EmptyArg(VARTYPE type) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = type;
  return v;
}

}  // namespace

IDispatch* QueryEventSink(IUnknown* sink, REFIID eventIid) {
  if (sink == nullptr) return nullptr;
  IDispatch* events = nullptr;
  if (FAILED(sink->QueryInterface(eventIid, reinterpret_cast<void**>(&events))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&events)))) {
    return nullptr;
  }
  return events;
}

VARIANT DispatchArg(IDispatch* value) {
  VARIANT v = EmptyArg(VT_DISPATCH);
  v.pdispVal = value;
  return v;
}

VARIANT ByRefLongArg(LONG* value) {
  VARIANT v = EmptyArg(VT_I4 | VT_BYREF);
  v.plVal = value;
  return v;
}

VARIANT ByRefShortArg(SHORT* value) {
  VARIANT v = EmptyArg(VT_I2 | VT_BYREF);
  v.piVal = value;
  return v;
}

VARIANT ByRefBoolArg(VARIANT_BOOL* value) {
  VARIANT v = EmptyArg(VT_BOOL | VT_BYREF);
  v.pboolVal = value;
  return v;
}

VARIANT DoubleArg(double value) {
  VARIANT v = EmptyArg(VT_R8);
  v.dblVal = value;
  return v;
}

void InvokeSinkMethod(IDispatch* sink, DISPID id, std::vector<VARIANT> args, TMissingEvent missing) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                       static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO excep = {};
  UINT argErr = 0;
  HRESULT result = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                                &excep, &argErr);
  if (result == DISP_E_EXCEPTION) {
    String message = BstrToString(excep.bstrDescription);
    HRESULT code = excep.scode != 0 ? excep.scode : E_FAIL;
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrHelpFile);
    if (!message.empty()) throw EOleError(message, code);
    OleCheck(code);
  }
  if (result == DISP_E_MEMBERNOTFOUND && missing == TMissingEvent::Ignored) return;
  OleCheck(result);
}

}  // namespace skx
