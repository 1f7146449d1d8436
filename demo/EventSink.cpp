// The demo's event sink: unpacks each event's one argument and hands it to the main window.
#include "EventSink.h"

namespace demo {

// Called by the control inside its own work: nothing may escape, and a failure here would fail
// the control's operation, so the sink answers S_OK and reports problems in the log instead.
HRESULT STDMETHODCALLTYPE TEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                             EXCEPINFO*, UINT*) {
  try {
    VARIANT* argument = params != nullptr && params->cArgs == 1 ? &params->rgvarg[0] : nullptr;
    if (id == SkedraXEventsDispId::OnGetNewID) {
      if (argument != nullptr && argument->vt == (VT_BYREF | VT_I4)) *argument->plVal = FListener.NewTaskId();
      return S_OK;
    }
    if (argument != nullptr && argument->vt == VT_DISPATCH && argument->pdispVal != nullptr) {
      ITaskObject* task = nullptr;
      if (SUCCEEDED(argument->pdispVal->QueryInterface(IID_ITaskObject, reinterpret_cast<void**>(&task)))) {
        FListener.TaskEvent(id, task);
        task->Release();
        return S_OK;
      }
    }
    FListener.OtherEvent(id);
  } catch (...) {
  }
  return S_OK;
}

}  // namespace demo
