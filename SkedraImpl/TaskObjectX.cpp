// The task automation object: each member a plain read or write of one task field.
#include "SkedraImpl/TaskObjectX.h"

#include "Framework/Com/ComUtil.h"
#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

TRxTaskObject* AsRxTask(TTaskObject* task) {
  if (task == nullptr) return nullptr;
  auto* rxTask = dynamic_cast<TRxTaskObject*>(task);
  if (rxTask == nullptr) RaiseInvalidCast();
  return rxTask;
}

// Enumeration fields are one byte and pick icons and list entries: only their constants are kept.
auto InvalidValueFor(const wchar_t* property) {
  return [property](long value) {
    throw EOleError(L"'" + std::to_wstring(value) + L"' is not a valid value for " + property, E_INVALIDARG);
  };
}

// Answered only by this implementation, with the object itself: how the control recognises a
// task object of its own among the ITaskObject pointers a container hands it.
const IID IID_TTaskObjectX = {0x6f1d3c52, 0x9a0e, 0x4b7d, {0x8e, 0x21, 0x5c, 0x47, 0xd2, 0x90, 0x13, 0xab}};

}  // namespace

TTaskObjectX* TTaskObjectX::FromInterface(IUnknown* object) {
  TTaskObjectX* self = nullptr;
  if (object == nullptr || FAILED(object->QueryInterface(IID_TTaskObjectX, reinterpret_cast<void**>(&self)))) {
    return nullptr;
  }
  self->Release();
  return self;
}

HRESULT STDMETHODCALLTYPE TTaskObjectX::QueryInterface(REFIID riid, void** object) {
  if (object != nullptr && ::IsEqualIID(riid, IID_TTaskObjectX)) {
    *object = this;
    AddRef();
    return S_OK;
  }
  return TAutoObject::QueryInterface(riid, object);
}

TTaskObjectX::TTaskObjectX(TAutoObjectFactory& factory, TTaskObject* task)
    : TAutoObject(factory), FTask(AsRxTask(task)) {}

TTaskObjectX::TTaskObjectX(TAutoObjectFactory& factory)
    : TAutoObject(factory), FOwnTask(std::make_unique<TRxTaskObject>(0)), FTask(FOwnTask.get()) {}

std::unique_ptr<TRxTaskObject> TTaskObjectX::ReleaseOwnedTask() { return std::move(FOwnTask); }

TRxTaskObject& TTaskObjectX::LiveTask() const {
  TRxTaskObject* task = FTask.Get();
  if (task == nullptr) {
    throw Exception(L"The task of this object no longer exists");
  }
  return *task;
}

template <typename TValue, typename TGet>
HRESULT TTaskObjectX::GetValue(TValue* value, TGet get) {
  return Trap(value, [&] { return get(LiveTask()); });
}

template <typename TPut>
HRESULT TTaskObjectX::PutValue(TPut put) {
  return Trap([&] { put(LiveTask()); });
}

HRESULT TTaskObjectX::GetText(BSTR* value, String TRxTaskObject::*field) {
  return Trap(value, [&] { return StringToBstr(LiveTask().*field); });
}

HRESULT TTaskObjectX::PutText(BSTR value, String TRxTaskObject::*field) {
  return Trap([&] { LiveTask().*field = BstrToString(value); });
}

HRESULT TTaskObjectX::get_ID(long* Value) {
  return GetValue(Value, [](TRxTaskObject& t) { return t.FID; });
}

// A task in a schedule keeps its identifier: the schedule refuses the change.
HRESULT TTaskObjectX::put_ID(long Value) {
  return PutValue([&](TRxTaskObject& t) { t.SetID(Value); });
}

HRESULT TTaskObjectX::get_StartDateTime(double* Value) {
  return GetValue(Value, [](TRxTaskObject& t) { return t.FStartDateTime; });
}

HRESULT TTaskObjectX::put_StartDateTime(double Value) {
  return PutValue([&](TRxTaskObject& t) { t.FStartDateTime = Value; });
}

HRESULT TTaskObjectX::get_FinishDateTime(double* Value) {
  return GetValue(Value, [](TRxTaskObject& t) { return t.FFinishDateTime; });
}

HRESULT TTaskObjectX::put_FinishDateTime(double Value) {
  return PutValue([&](TRxTaskObject& t) { t.FFinishDateTime = Value; });
}

HRESULT TTaskObjectX::get_IsPrivate(VARIANT_BOOL* Value) {
  return GetValue(Value, [](TRxTaskObject& t) { return t.FIsPrivate ? VARIANT_TRUE : VARIANT_FALSE; });
}

HRESULT TTaskObjectX::put_IsPrivate(VARIANT_BOOL Value) {
  return PutValue([&](TRxTaskObject& t) { t.FIsPrivate = Value != 0; });
}

HRESULT TTaskObjectX::get_Remind(long* Value) {
  return GetValue(Value, [](TRxTaskObject& t) { return t.FRemind; });
}

HRESULT TTaskObjectX::put_Remind(long Value) {
  return PutValue([&](TRxTaskObject& t) { t.FRemind = Value; });
}

HRESULT TTaskObjectX::get_Description(BSTR* Value) { return GetText(Value, &TRxTaskObject::FDescription); }
HRESULT TTaskObjectX::put_Description(BSTR Value) { return PutText(Value, &TRxTaskObject::FDescription); }
HRESULT TTaskObjectX::get_Notes(BSTR* Value) { return GetText(Value, &TRxTaskObject::FNotes); }
HRESULT TTaskObjectX::put_Notes(BSTR Value) { return PutText(Value, &TRxTaskObject::FNotes); }
HRESULT TTaskObjectX::get_Where(BSTR* Value) { return GetText(Value, &TRxTaskObject::FWhere); }
HRESULT TTaskObjectX::put_Where(BSTR Value) { return PutText(Value, &TRxTaskObject::FWhere); }

HRESULT TTaskObjectX::get_Priority(::ITaskPriority* Value) {
  return GetValue(Value, [](TRxTaskObject& t) { return t.FPriority; });
}

HRESULT TTaskObjectX::put_Priority(::ITaskPriority Value) {
  return PutValue([&](TRxTaskObject& t) { t.FPriority = CheckedEnum<TTaskPriority>(Value, tpHigh, InvalidValueFor(L"Priority")); });
}

HRESULT TTaskObjectX::get_TaskType(::ITaskType* Value) {
  return GetValue(Value, [](TRxTaskObject& t) { return t.FTaskType; });
}

HRESULT TTaskObjectX::put_TaskType(::ITaskType Value) {
  return PutValue([&](TRxTaskObject& t) { t.FTaskType = CheckedEnum<TTaskType>(Value, ttEvent, InvalidValueFor(L"TaskType")); });
}

HRESULT TTaskObjectX::get_Status(::ITaskStatus* Value) {
  return GetValue(Value, [](TRxTaskObject& t) { return t.FStatus; });
}

HRESULT TTaskObjectX::put_Status(::ITaskStatus Value) {
  return PutValue([&](TRxTaskObject& t) { t.FStatus = CheckedEnum<TTaskStatus>(Value, tsSuspend, InvalidValueFor(L"Status")); });
}

TAutoObjectFactory& TaskObjectXFactory() {
  static TAutoObjectFactory factory(TComServer::Instance(), L"TTaskObjectX", CLSID_TaskObjectX,
                                    [](TAutoObjectFactory& self) -> IUnknown* {
                                      return static_cast<ITaskObject2*>(new TTaskObjectX(self));
                                    },
                                    IID_ITaskObject2);
  return factory;
}

}  // namespace skx
