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
  // OnSelectTask, OnUnselectTask, OnAppendTask, OnUpdateTask, OnDeleteTask, OnTaskMoved or
  // OnTaskResized with its task.
  virtual void TaskEvent(DISPID Event, ITaskObject& Task) = 0;
  // OnBeforeMoveTask or OnBeforeResizeTask: true keeps the task where it is.
  virtual bool RefuseTimes(DISPID Event, ITaskObject& Task, double NewStart, double NewFinish) = 0;
  // OnBeforeDeleteTask or OnBeforeUpdateTask: true keeps the task as it is.
  virtual bool RefuseChange(DISPID Event, ITaskObject& Task) = 0;
  virtual void KeyPress(wchar_t Key) = 0;
  // OnClick, OnDblClick, or an event whose arguments are not the declared ones.
  virtual void OtherEvent(DISPID Event) = 0;
};

// The main window owns the sink; the control's references only count. It is connected to
// ISkedraXEvents2, which brings the old events with their DISPIDs and the new ones.
class TEventSink : public skx::TDispatchObject<skx::TLifetime::Owned> {
 public:
  explicit TEventSink(TEventListener& Listener) : TDispatchObject(1, DIID_ISkedraXEvents2), FListener(Listener) {}

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

 private:
  // The event with its task (the first declared argument); false when its arguments are not the
  // declared ones.
  bool TaskInvoke(DISPID id, ITaskObject& Task, const DISPPARAMS& params);

  TEventListener& FListener;
};

}  // namespace demo
