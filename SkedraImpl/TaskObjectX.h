// TTaskObjectX: the automation object through which a container sees one task.
#pragma once

#include <memory>

#include "Framework/Com/AutoObject.h"
#include "Framework/Core/WeakRef.h"
#include "RxObjects/RxTaskObject.h"
#include "SkedraXControl_TLB/SkedraXControl_TLB.h"

namespace skx {

// ITaskObject2 extends ITaskObject, whose function table it begins with; IDispatch answers for both.
class TTaskObjectX : public TAutoObject<ITaskObject2> {
 public:
  // A wrapper over a task that the grid's collection owns; it refers to the task weakly, so a
  // wrapper that outlives its task fails cleanly instead of touching freed memory.
  TTaskObjectX(TAutoObjectFactory& factory, TTaskObject* task);
  // A wrapper made by the class factory: it carries a fresh task of its own, which a container
  // fills in and hands to the control; the control then takes the task over.
  explicit TTaskObjectX(TAutoObjectFactory& factory);

  // The object behind an interface pointer, or null when it is not one of this implementation.
  static TTaskObjectX* FromInterface(IUnknown* object);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

  // The task behind this object, or null when it is gone.
  TRxTaskObject* Task() const { return FTask.Get(); }
  // Hands the object's own task to a new owner; null when the object owns none.
  std::unique_ptr<TRxTaskObject> ReleaseOwnedTask();
  bool OwnsTask() const { return FOwnTask != nullptr; }

  HRESULT STDMETHODCALLTYPE get_ID(long* Value) override;
  HRESULT STDMETHODCALLTYPE get_StartDateTime(double* Value) override;
  HRESULT STDMETHODCALLTYPE put_StartDateTime(double Value) override;
  HRESULT STDMETHODCALLTYPE get_FinishDateTime(double* Value) override;
  HRESULT STDMETHODCALLTYPE put_FinishDateTime(double Value) override;
  HRESULT STDMETHODCALLTYPE get_IsPrivate(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_IsPrivate(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_Remind(long* Value) override;
  HRESULT STDMETHODCALLTYPE put_Remind(long Value) override;
  HRESULT STDMETHODCALLTYPE get_Description(BSTR* Value) override;
  HRESULT STDMETHODCALLTYPE put_Description(BSTR Value) override;
  HRESULT STDMETHODCALLTYPE get_Notes(BSTR* Value) override;
  HRESULT STDMETHODCALLTYPE put_Notes(BSTR Value) override;
  HRESULT STDMETHODCALLTYPE get_Priority(::ITaskPriority* Value) override;
  HRESULT STDMETHODCALLTYPE put_Priority(::ITaskPriority Value) override;
  HRESULT STDMETHODCALLTYPE get_TaskType(::ITaskType* Value) override;
  HRESULT STDMETHODCALLTYPE put_TaskType(::ITaskType Value) override;
  HRESULT STDMETHODCALLTYPE get_Status(::ITaskStatus* Value) override;
  HRESULT STDMETHODCALLTYPE put_Status(::ITaskStatus Value) override;
  HRESULT STDMETHODCALLTYPE get_Where(BSTR* Value) override;
  HRESULT STDMETHODCALLTYPE put_Where(BSTR Value) override;
  HRESULT STDMETHODCALLTYPE put_ID(long Value) override;

 private:
  TRxTaskObject& LiveTask() const;
  template <typename TValue, typename TGet>
  HRESULT GetValue(TValue* value, TGet get);
  template <typename TPut>
  HRESULT PutValue(TPut put);
  HRESULT GetText(BSTR* value, String TRxTaskObject::*field);
  HRESULT PutText(BSTR value, String TRxTaskObject::*field);

  std::unique_ptr<TRxTaskObject> FOwnTask;
  TWeakRef<TRxTaskObject> FTask;
};

// The factory of the creatable class TaskObjectX; created at start-up.
TAutoObjectFactory& TaskObjectXFactory();

}  // namespace skx
