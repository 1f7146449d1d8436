// TSkedraX: each ISkedraX member a few lines over the grid, its settings or its task collection.
#include "SkedraImpl/SkedraX.h"

#include <cmath>

#include "Framework/Com/FontAdapter.h"
#include "Framework/Com/KeepAlive.h"
#include "Framework/Com/SinkCall.h"
#include "SkedraAbout/SkedraAbout.h"
#include "SkedraComp/SkedraState.h"
#include "SkedraImpl/TaskObjectX.h"

namespace skx {

namespace {

// The range of the automation date type: 1 January 100 to 31 December 9999, 23:59:59.
constexpr double MinDateTime = -657434.0;
constexpr double MaxDateTime = 2958465.99999;

TDateTime CheckedDateTime(double value) {
  if (!std::isfinite(value) || value < MinDateTime || value > MaxDateTime) RaiseRangeError();
  return value;
}

// Enumeration values outside their constants would reach layout and window code unchecked.
long CheckedEnum(long value, long max) {
  if (value < 0 || value > max) RaiseRangeError();
  return value;
}

VARIANT_BOOL ToVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

ITaskObject* NewTaskObject(TTaskObject* task) {
  ITaskObject* result = new TTaskObjectX(TaskObjectXFactory(), task);
  result->AddRef();
  return result;
}

}  // namespace

TSkedraX::TSkedraX(TActiveXControlFactory& factory) : TActiveXControl<ISkedraX>(factory) { CreateControl(); }

TSkedraX::~TSkedraX() { DestroyControl(); }

void TSkedraX::InitializeControl() {
  FSkedra = &dynamic_cast<TSkedra&>(Control());
  FSkedra->SetSkedraType(skDaily);
  HookGridEvents();
}

void TSkedraX::HookGridEvents() {
  FSkedra->OnCreateTask = [this](TComponent* Sender) { return GridCreateTask(Sender); };
  FSkedra->OnSelectTask = [this](TComponent*, TTaskObject* task) { FireTaskEvent(SkedraXEventsDispId::OnSelectTask, task); };
  FSkedra->OnUnselectTask = [this](TComponent*, TTaskObject* task) {
    FireTaskEvent(SkedraXEventsDispId::OnUnselectTask, task);
  };
  FSkedra->OnAppendTask = [this](TComponent*, TTaskObject* task) { FireTaskEvent(SkedraXEventsDispId::OnAppendTask, task); };
  FSkedra->OnUpdateTask = [this](TComponent*, TTaskObject* task) { FireTaskEvent(SkedraXEventsDispId::OnUpdateTask, task); };
  FSkedra->OnDeleteTask = [this](TComponent*, TTaskObject* task) { FireTaskEvent(SkedraXEventsDispId::OnDeleteTask, task); };
}

void TSkedraX::DefinePages(std::vector<CLSID>&) {}

std::unique_ptr<TTaskObject> TSkedraX::GridCreateTask(TComponent*) {
  LONG id = 0;
  if (EventSink() != nullptr) {
    // The sink may disconnect or release the control inside the call.
    TComRef<IDispatch> sink;
    sink.Assign(EventSink());
    TKeepAlive self(Unknown());
    InvokeSinkMethod(sink.Get(), SkedraXEventsDispId::OnGetNewID, {ByRefLongArg(&id)});
  }
  return std::make_unique<TRxTaskObject>(id);
}

// The wrapper lives for the call unless the sink keeps a reference of its own.
void TSkedraX::FireTaskEvent(DISPID id, TTaskObject* task) {
  if (EventSink() == nullptr) return;
  TComRef<IDispatch> sink;
  sink.Assign(EventSink());
  TKeepAlive self(Unknown());
  TComRef<ITaskObject> wrapper(NewTaskObject(task));
  InvokeSinkMethod(sink.Get(), id, {DispatchArg(wrapper.Get())});
}

HRESULT STDMETHODCALLTYPE TSkedraX::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                           VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  using TBase = TActiveXControl<ISkedraX>;
  // A script's colour constant for a system colour arrives as a negative VT_I4, which the
  // standard coercion to the unsigned OLE_COLOR refuses; the bits are the colour.
  if (id == SkedraXDispId::Color && (flags & DISPATCH_PROPERTYPUT) != 0 && params != nullptr &&
      params->cArgs == 1 && params->rgvarg[0].vt == VT_I4) {
    VARIANT arg = params->rgvarg[0];
    arg.vt = VT_UI4;
    DISPPARAMS unsignedParams = *params;
    unsignedParams.rgvarg = &arg;
    return TBase::Invoke(id, riid, lcid, flags, &unsignedParams, result, excepInfo, argErr);
  }
  HRESULT hr = TBase::Invoke(id, riid, lcid, flags, params, result, excepInfo, argErr);
  if (SUCCEEDED(hr) && id == SkedraXDispId::Color && result != nullptr && result->vt == VT_UI4) {
    result->vt = VT_I4;
  }
  return hr;
}

template <typename TValue, typename TGet>
HRESULT TSkedraX::Get(TValue* value, TGet get) {
  if (value == nullptr) return E_POINTER;
  *value = TValue{};
  return Trap([&] { *value = static_cast<TValue>(get(*FSkedra)); });
}

template <typename TPut>
HRESULT TSkedraX::Put(TPut put) {
  return Trap([&] {
    put(*FSkedra);
    PropertyChanged();
  });
}

template <typename TChange>
HRESULT TSkedraX::PutSetting(TChange change) {
  return Put([&](TSkedra& grid) {
    TSkedraSettings settings = grid.Settings();
    change(settings);
    grid.SetSettings(settings);
  });
}

// Control properties

HRESULT TSkedraX::get_GridHeight(long* Value) {
  return Get(Value, [](TSkedra& g) { return g.GridHeight(); });
}

HRESULT TSkedraX::get_GridWidth(long* Value) {
  return Get(Value, [](TSkedra& g) { return g.GridWidth(); });
}

HRESULT TSkedraX::get_BorderStyle(TxBorderStyle* Value) {
  return Get(Value, [](TSkedra& g) { return g.BorderStyle(); });
}

HRESULT TSkedraX::put_BorderStyle(TxBorderStyle Value) {
  return Put([&](TSkedra& g) { g.SetBorderStyle(static_cast<TBorderStyle>(CheckedEnum(Value, bsSingle))); });
}

HRESULT TSkedraX::get_Color(OLE_COLOR* Value) {
  return Get(Value, [](TSkedra& g) { return g.Color(); });
}

HRESULT TSkedraX::put_Color(OLE_COLOR Value) {
  return Put([&](TSkedra& g) { g.SetColor(static_cast<TColor>(Value)); });
}

HRESULT TSkedraX::get_Ctl3D(VARIANT_BOOL* Value) {
  return Get(Value, [](TSkedra& g) { return ToVariantBool(g.Ctl3D()); });
}

HRESULT TSkedraX::put_Ctl3D(VARIANT_BOOL Value) {
  return Put([&](TSkedra& g) {
    g.SetCtl3D(Value != 0);
    g.SetParentCtl3D(false);
  });
}

HRESULT TSkedraX::get_DragCursor(short* Value) {
  return Get(Value, [](TSkedra& g) { return g.DragCursor(); });
}

HRESULT TSkedraX::put_DragCursor(short Value) {
  return Put([&](TSkedra& g) { g.SetDragCursor(Value); });
}

HRESULT TSkedraX::get_DragMode(TxDragMode* Value) {
  return Get(Value, [](TSkedra& g) { return g.DragMode(); });
}

HRESULT TSkedraX::put_DragMode(TxDragMode Value) {
  return Put([&](TSkedra& g) { g.SetDragMode(CheckedEnum(Value, dmAutomatic)); });
}

HRESULT TSkedraX::get_Enabled(VARIANT_BOOL* Value) {
  return Get(Value, [](TSkedra& g) { return ToVariantBool(g.Enabled()); });
}

HRESULT TSkedraX::put_Enabled(VARIANT_BOOL Value) {
  return Put([&](TSkedra& g) { g.SetEnabled(Value != 0); });
}

HRESULT TSkedraX::get_Font(IFontDisp** Value) {
  if (Value == nullptr) return E_POINTER;
  *Value = nullptr;
  return Trap([&] { *Value = TFontAdapter::GetOleFont(FSkedra->Font()); });
}

HRESULT TSkedraX::put_Font(IFontDisp* Value) {
  return Put([&](TSkedra& g) { g.SetFont(TFontAdapter::SetOleFont(g.Font(), Value)); });
}

HRESULT TSkedraX::get_ParentColor(VARIANT_BOOL* Value) {
  return Get(Value, [](TSkedra& g) { return ToVariantBool(g.ParentColor()); });
}

HRESULT TSkedraX::put_ParentColor(VARIANT_BOOL Value) {
  return Put([&](TSkedra& g) { g.SetParentColor(Value != 0); });
}

HRESULT TSkedraX::get_ParentCtl3D(VARIANT_BOOL* Value) {
  return Get(Value, [](TSkedra& g) { return ToVariantBool(g.ParentCtl3D()); });
}

HRESULT TSkedraX::put_ParentCtl3D(VARIANT_BOOL Value) {
  return Put([&](TSkedra& g) { g.SetParentCtl3D(Value != 0); });
}

HRESULT TSkedraX::get_Visible(VARIANT_BOOL* Value) {
  return Get(Value, [](TSkedra& g) { return ToVariantBool(g.Visible()); });
}

HRESULT TSkedraX::put_Visible(VARIANT_BOOL Value) {
  return Put([&](TSkedra& g) { g.SetVisible(Value != 0); });
}

HRESULT TSkedraX::get_Cursor(short* Value) {
  return Get(Value, [](TSkedra& g) { return g.Cursor(); });
}

HRESULT TSkedraX::put_Cursor(short Value) {
  return Put([&](TSkedra& g) { g.SetCursor(Value); });
}

// Task methods

HRESULT TSkedraX::AboutBox() {
  return Trap([] { ShowAbout(); });
}

HRESULT TSkedraX::Clear() {
  return Trap([&] { FSkedra->TaskItems().Clear(); });
}

// Only a task that a container made through the class factory can be handed over: a task that
// a collection owns already, or an object of another implementation, is refused.
HRESULT TSkedraX::AddTask(ITaskObject* aTask) {
  return Trap([&] {
    if (aTask == nullptr) throw EOleError(L"No task object given", E_POINTER);
    TTaskObjectX* wrapper = TTaskObjectX::FromInterface(aTask);
    if (wrapper == nullptr) throw EOleError(L"Interface not supported", E_NOINTERFACE);
    std::unique_ptr<TRxTaskObject> task = wrapper->ReleaseOwnedTask();
    if (!task) throw EOleError(L"The task belongs to a schedule already", E_INVALIDARG);
    FSkedra->TaskItems().Add(std::move(task));
  });
}

HRESULT TSkedraX::Delete(long anID) {
  return Trap([&] { FSkedra->TaskItems().Delete(anID); });
}

HRESULT TSkedraX::NewTask() {
  return Trap([&] { FSkedra->TaskItems().NewTask(); });
}

HRESULT TSkedraX::get_Count(long* Value) {
  return Get(Value, [](TSkedra& g) { return g.TaskItems().Count(); });
}

HRESULT TSkedraX::get_Items(long anIndex, ITaskObject** Value) {
  if (Value == nullptr) return E_POINTER;
  *Value = nullptr;
  return Trap([&] { *Value = NewTaskObject(FSkedra->TaskItems().Items(anIndex).Task.get()); });
}

// Schedule properties

HRESULT TSkedraX::get_WeekStart(IDayOfWeek* Value) {
  return Get(Value, [](TSkedra& g) { return g.Settings().WeekStart; });
}

HRESULT TSkedraX::put_WeekStart(IDayOfWeek Value) {
  return PutSetting([&](TSkedraSettings& s) { s.WeekStart = static_cast<TDayOfWeek>(CheckedEnum(Value, dwSun)); });
}

HRESULT TSkedraX::get_WeekEnd(IDayOfWeek* Value) {
  return Get(Value, [](TSkedra& g) { return g.Settings().WeekEnd; });
}

HRESULT TSkedraX::put_WeekEnd(IDayOfWeek Value) {
  return PutSetting([&](TSkedraSettings& s) { s.WeekEnd = static_cast<TDayOfWeek>(CheckedEnum(Value, dwSun)); });
}

HRESULT TSkedraX::get_DayStart(double* Value) {
  return Get(Value, [](TSkedra& g) { return g.Settings().DayStart; });
}

HRESULT TSkedraX::put_DayStart(double Value) {
  return PutSetting([&](TSkedraSettings& s) { s.DayStart = CheckedDateTime(Value); });
}

HRESULT TSkedraX::get_DayEnd(double* Value) {
  return Get(Value, [](TSkedra& g) { return g.Settings().DayEnd; });
}

HRESULT TSkedraX::put_DayEnd(double Value) {
  return PutSetting([&](TSkedraSettings& s) { s.DayEnd = CheckedDateTime(Value); });
}

HRESULT TSkedraX::get_TimeScale(long* Value) {
  return Get(Value, [](TSkedra& g) { return g.Settings().TimeScale; });
}

// A scale of 0 would divide the day by zero: the range is 1 to 255 minutes.
HRESULT TSkedraX::put_TimeScale(long Value) {
  return PutSetting([&](TSkedraSettings& s) {
    if (Value < 1 || Value > 255) RaiseRangeError();
    s.TimeScale = static_cast<std::uint8_t>(Value);
  });
}

HRESULT TSkedraX::get_ActiveDate(double* Value) {
  return Get(Value, [](TSkedra& g) { return g.ActiveDate(); });
}

HRESULT TSkedraX::put_ActiveDate(double Value) {
  return Put([&](TSkedra& g) { g.SetActiveDate(CheckedDateTime(Value)); });
}

HRESULT TSkedraX::get_CurrentDate(double* Value) {
  return Get(Value, [](TSkedra& g) { return g.GetCurrentDate(); });
}

HRESULT TSkedraX::get_SelectedTask(ITaskObject** Value) {
  if (Value == nullptr) return E_POINTER;
  *Value = nullptr;
  return Trap([&] {
    TTaskItem* item = FSkedra->SelectedItem();
    if (item == nullptr) throw Exception(L"No task is selected");
    *Value = NewTaskObject(item->Task.get());
  });
}

HRESULT TSkedraX::get_SkedraType(ISkedraType* Value) {
  return Get(Value, [](TSkedra& g) { return g.SkedraType(); });
}

HRESULT TSkedraX::put_SkedraType(ISkedraType Value) {
  return Put([&](TSkedra& g) { g.SetSkedraType(static_cast<TSkedraType>(CheckedEnum(Value, skWeekly))); });
}

TActiveXControlFactory& SkedraXFactory() {
  static TSystemClock clock;
  static TActiveXControlFactory factory(
      TComServer::Instance(), L"TSkedraX", CLSID_SkedraX,
      [](TAutoObjectFactory& self) -> IUnknown* {
        return static_cast<ISkedraX*>(new TSkedraX(static_cast<TActiveXControlFactory&>(self)));
      },
      TWindowControlClass{[] { return std::make_unique<TSkedra>(nullptr, clock); }, WriteSkedraControlState,
                          ReadSkedraControlState},
      1, 0);
  return factory;
}

}  // namespace skx
