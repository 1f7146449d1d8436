// The demo's sink for the control's events: a plain IDispatch that the control calls by DISPID.
#pragma once

#include "Framework/Com/ComObject.h"
#include "SkedraXControl.h"

namespace demo {

// What the main window does with each event.
class TEventListener {
 public:
  virtual ~TEventListener() = default;
  // The identifier that a task created in the control gets.
  virtual long NewTaskId() = 0;
  // OnSelectTask, OnUnselectTask, OnAppendTask, OnUpdateTask or OnDeleteTask with its task.
  virtual void TaskEvent(DISPID Event, ITaskObject* Task) = 0;
  // An event this demo does not expect; the control documents that it never raises them.
  virtual void OtherEvent(DISPID Event) = 0;
};

// The main window owns the sink; the control's references only count.
class TEventSink : public skx::TDispatchObject<skx::TLifetime::Owned> {
 public:
  explicit TEventSink(TEventListener& Listener) : TDispatchObject(1, DIID_ISkedraXEvents), FListener(Listener) {}

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

 private:
  TEventListener& FListener;
};

}  // namespace demo
