// The demo's sink for the control's events: a plain IDispatch that the control calls by DISPID.
#pragma once

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

class TEventSink : public IDispatch {
 public:
  explicit TEventSink(TEventListener& Listener) : FListener(Listener) {}
  virtual ~TEventSink() = default;
  TEventSink(const TEventSink&) = delete;
  TEventSink& operator=(const TEventSink&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  // The main window owns the sink; the control's references only count.
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --FRefCount; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

 private:
  TEventListener& FListener;
  ULONG FRefCount = 1;
};

}  // namespace demo
