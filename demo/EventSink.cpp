// The demo's event sink: unpacks each event's arguments and hands them to the main window.
#include "EventSink.h"

#include <memory>

namespace demo {

namespace {

namespace Ev = SkedraXEventsDispId;

// The declared argument at Index (0 the first), when it has that type; the arguments come last
// first.
VARIANT* Argument(const DISPPARAMS& Params, UINT Index, VARTYPE Type) {
  if (Index >= Params.cArgs || Params.rgvarg == nullptr) return nullptr;
  VARIANT* argument = &Params.rgvarg[Params.cArgs - 1 - Index];
  return argument->vt == Type ? argument : nullptr;
}

// A date-time travels as a double or as a date, both days since 30 December 1899.
bool DateArgument(const DISPPARAMS& Params, UINT Index, double& Value) {
  VARIANT* argument = Argument(Params, Index, VT_R8);
  if (argument == nullptr) argument = Argument(Params, Index, VT_DATE);
  if (argument == nullptr) return false;
  Value = argument->vt == VT_R8 ? argument->dblVal : argument->date;
  return true;
}

struct TRelease {
  void operator()(IUnknown* Object) const { Object->Release(); }
};

}  // namespace

// Called by the control inside its own work: nothing may escape, and a failure here would fail
// the control's operation, so the sink answers S_OK and reports problems in the log instead.
HRESULT STDMETHODCALLTYPE TEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                             EXCEPINFO*, UINT*) {
  try {
    const DISPPARAMS none{};
    const DISPPARAMS& args = params != nullptr ? *params : none;
    if (id == Ev::OnGetNewID) {
      if (VARIANT* newId = Argument(args, 0, VT_BYREF | VT_I4)) *newId->plVal = FListener.NewTaskId();
      return S_OK;
    }
    // A character outside 16 bits' signed range travels as its bits.
    if (id == Ev::OnKeyPress) {
      if (VARIANT* key = Argument(args, 0, VT_BYREF | VT_I2)) {
        FListener.KeyPress(static_cast<wchar_t>(static_cast<USHORT>(*key->piVal)));
        return S_OK;
      }
    }
    VARIANT* object = Argument(args, 0, VT_DISPATCH);
    ITaskObject* task = nullptr;
    if (object != nullptr && object->pdispVal != nullptr &&
        SUCCEEDED(object->pdispVal->QueryInterface(IID_ITaskObject, reinterpret_cast<void**>(&task)))) {
      const std::unique_ptr<ITaskObject, TRelease> held(task);
      if (TaskInvoke(id, *task, args)) return S_OK;
    }
    FListener.OtherEvent(id);
  } catch (...) {
  }
  return S_OK;
}

bool TEventSink::TaskInvoke(DISPID id, ITaskObject& Task, const DISPPARAMS& params) {
  switch (id) {
    case Ev::OnBeforeMoveTask:
    case Ev::OnBeforeResizeTask: {
      double start = 0, finish = 0;
      VARIANT* cancel = Argument(params, 3, VT_BYREF | VT_BOOL);
      if (!DateArgument(params, 1, start) || !DateArgument(params, 2, finish) || cancel == nullptr) return false;
      if (FListener.RefuseTimes(id, Task, start, finish)) *cancel->pboolVal = VARIANT_TRUE;
      return true;
    }
    case Ev::OnBeforeDeleteTask:
    case Ev::OnBeforeUpdateTask: {
      VARIANT* cancel = Argument(params, 1, VT_BYREF | VT_BOOL);
      if (cancel == nullptr) return false;
      if (FListener.RefuseChange(id, Task)) *cancel->pboolVal = VARIANT_TRUE;
      return true;
    }
    default:
      if (params.cArgs != 1) return false;
      FListener.TaskEvent(id, Task);
      return true;
  }
}

}  // namespace demo
