// TSkedraX: each ISkedraX member a few lines over the grid, its settings or its task collection.
#include "SkedraImpl/SkedraX.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Framework/Com/FontAdapter.h"
#include "Framework/Com/KeepAlive.h"
#include "Framework/Com/SinkCall.h"
#include "SkedraAbout/SkedraAbout.h"
#include "SkedraComp/SkedraState.h"
#include "SkedraImpl/TaskObjectX.h"
#include "TaskFrm/Win32/TaskForm.h"

namespace skx {

namespace {

// The range of the automation date type: 1 January 100 to 31 December 9999, 23:59:59.
constexpr double MinDateTime = -657434.0;
constexpr double MaxDateTime = 2958465.99999;

TDateTime CheckedDateTime(double value) {
  if (!std::isfinite(value) || value < MinDateTime || value > MaxDateTime) RaiseRangeError();
  return value;
}

void RaiseRangeErrorFor(long) { RaiseRangeError(); }

VARIANT_BOOL ToVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// The objects of a one-dimensional array of VARIANTs, dispatch or unknown pointers, passed as it
// is or by reference; an element that holds no object is refused.
std::vector<TComRef<IUnknown>> TaskArrayElements(const VARIANT& value) {
  const VARIANT& array = value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal != nullptr ? *value.pvarVal : value;
  if ((array.vt & VT_ARRAY) == 0) throw EOleError(L"An array of task objects is expected", DISP_E_TYPEMISMATCH);
  SAFEARRAY* elements = (array.vt & VT_BYREF) != 0 ? (array.pparray != nullptr ? *array.pparray : nullptr) : array.parray;
  const VARTYPE type = static_cast<VARTYPE>(array.vt & VT_TYPEMASK);
  if (elements == nullptr || ::SafeArrayGetDim(elements) != 1 ||
      (type != VT_VARIANT && type != VT_DISPATCH && type != VT_UNKNOWN))
    throw EOleError(L"An array of task objects is expected", DISP_E_TYPEMISMATCH);
  LONG lower = 0;
  LONG upper = -1;
  OleCheck(::SafeArrayGetLBound(elements, 1, &lower));
  OleCheck(::SafeArrayGetUBound(elements, 1, &upper));
  std::vector<TComRef<IUnknown>> objects(static_cast<size_t>(std::max<LONG>(upper - lower + 1, 0)));
  for (LONG i = lower; i <= upper; ++i) {
    TComRef<IUnknown>& object = objects[static_cast<size_t>(i - lower)];
    if (type == VT_VARIANT) {
      VARIANT element;
      ::VariantInit(&element);
      OleCheck(::SafeArrayGetElement(elements, &i, &element));
      VARIANT* held = element.vt == (VT_VARIANT | VT_BYREF) ? element.pvarVal : &element;
      if (held->vt == VT_DISPATCH || held->vt == VT_UNKNOWN) object.Assign(held->punkVal);
      ::VariantClear(&element);
    } else {
      OleCheck(::SafeArrayGetElement(elements, &i, object.Receive()));
    }
    if (!object) throw EOleError(L"No task object given", E_POINTER);
  }
  return objects;
}

ITaskObject* NewTaskObject(TTaskObject* task) {
  ITaskObject* result = new TTaskObjectX(TaskObjectXFactory(), task);
  result->AddRef();
  return result;
}

}  // namespace

std::unique_ptr<TTaskEditorService> MakeTaskFormEditor(TModalHost& host) {
  return std::make_unique<TTaskFormEditor>(&host);
}

TSkedraX::TSkedraX(TActiveXControlFactory& factory, const TTaskEditorMaker& makeEditor)
    : TActiveXControl<ISkedraX2>(factory), FEditor(makeEditor(ModalHost())) {
  CreateControl();
}

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
  HookSecondEvents();
}

// The events that only a sink of ISkedraXEvents2 hears.
void TSkedraX::HookSecondEvents() {
  namespace D = SkedraXEventsDispId;
  FSkedra->OnClick = [this](TComponent*) { FireEvent(TAudience::SecondSink, D::OnClick, {}); };
  FSkedra->OnDblClick = [this](TComponent*) { FireEvent(TAudience::SecondSink, D::OnDblClick, {}); };
  // A character outside 16 bits' signed range travels as its bits.
  FSkedra->OnKeyPress = [this](TComponent*, wchar_t& key) {
    SHORT value = static_cast<SHORT>(key);
    FireEvent(TAudience::SecondSink, D::OnKeyPress, {ByRefShortArg(&value)});
    key = static_cast<wchar_t>(static_cast<USHORT>(value));
  };
  FSkedra->OnBeforeMoveTask = [this](TComponent*, TTaskObject* task, TDateTime start, TDateTime finish, bool& cancel) {
    cancel = FireCancelEvent(D::OnBeforeMoveTask, task, {DoubleArg(start), DoubleArg(finish)});
  };
  FSkedra->OnBeforeResizeTask = [this](TComponent*, TTaskObject* task, TDateTime start, TDateTime finish,
                                       bool& cancel) {
    cancel = FireCancelEvent(D::OnBeforeResizeTask, task, {DoubleArg(start), DoubleArg(finish)});
  };
  FSkedra->OnBeforeDeleteTask = [this](TComponent*, TTaskObject* task, bool& cancel) {
    cancel = FireCancelEvent(D::OnBeforeDeleteTask, task, {});
  };
  FSkedra->OnBeforeUpdateTask = [this](TComponent*, TTaskObject* task, bool& cancel) {
    cancel = FireCancelEvent(D::OnBeforeUpdateTask, task, {});
  };
  FSkedra->OnTaskMoved = [this](TComponent*, TTaskObject* task) {
    FireTaskEvent(D::OnTaskMoved, task, TAudience::SecondSink);
  };
  FSkedra->OnTaskResized = [this](TComponent*, TTaskObject* task) {
    FireTaskEvent(D::OnTaskResized, task, TAudience::SecondSink);
  };
}

void TSkedraX::DefinePages(std::vector<CLSID>&) {}

// Both sinks may replace the identifier, the first interface's sink first.
std::unique_ptr<TTaskObject> TSkedraX::GridCreateTask(TComponent*) {
  LONG id = 0;
  FireEvent(TAudience::EverySink, SkedraXEventsDispId::OnGetNewID, {ByRefLongArg(&id)});
  auto task = std::make_unique<TRxTaskObject>(id);
  task->SetEditor(FEditor.get());
  return task;
}

std::unique_ptr<TRxTaskObject> TSkedraX::TakeTask(TTaskObjectX& wrapper) {
  std::unique_ptr<TRxTaskObject> task = wrapper.ReleaseOwnedTask();
  if (task) task->SetEditor(FEditor.get());
  return task;
}

// A sink may disconnect itself or the other one, or release the control, inside its call: each
// sink is held for its call and the control for all of them. A sink of the second interface that
// does not know an event has not handled it; one of the first fails as it always did.
void TSkedraX::FireEvent(TAudience audience, DISPID id, const std::vector<VARIANT>& args) {
  if (EventSink(0) == nullptr && EventSink(1) == nullptr) return;
  TKeepAlive self(Unknown());
  for (size_t index = audience == TAudience::EverySink ? 0 : 1; index < 2; ++index) {
    if (EventSink(index) == nullptr) continue;
    TComRef<IDispatch> sink;
    sink.Assign(EventSink(index));
    InvokeSinkMethod(sink.Get(), id, args, index == 0 ? TMissingEvent::Fails : TMissingEvent::Ignored);
  }
}

// The wrapper lives for the calls unless a sink keeps a reference of its own.
void TSkedraX::FireTaskEvent(DISPID id, TTaskObject* task, TAudience audience) {
  if ((audience == TAudience::EverySink && EventSink(0) != nullptr) || EventSink(1) != nullptr) {
    TComRef<ITaskObject> wrapper(NewTaskObject(task));
    FireEvent(audience, id, {DispatchArg(wrapper.Get())});
  }
}

bool TSkedraX::FireCancelEvent(DISPID id, TTaskObject* task, std::initializer_list<VARIANT> times) {
  if (EventSink(1) == nullptr) return false;
  TComRef<ITaskObject> wrapper(NewTaskObject(task));
  VARIANT_BOOL cancel = VARIANT_FALSE;
  std::vector<VARIANT> args{DispatchArg(wrapper.Get())};
  args.insert(args.end(), times.begin(), times.end());
  args.push_back(ByRefBoolArg(&cancel));
  FireEvent(TAudience::SecondSink, id, args);
  return cancel != VARIANT_FALSE;
}

HRESULT STDMETHODCALLTYPE TSkedraX::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                           VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  using TBase = TActiveXControl<ISkedraX2>;
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
  return Trap(value, [&] { return get(*FSkedra); });
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
  return Put([&](TSkedra& g) { g.SetBorderStyle(CheckedEnum<TBorderStyle>(Value, bsSingle, RaiseRangeErrorFor)); });
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
  return Put([&](TSkedra& g) { g.SetDragMode(CheckedEnum<int>(Value, dmAutomatic, RaiseRangeErrorFor)); });
}

HRESULT TSkedraX::get_Enabled(VARIANT_BOOL* Value) {
  return Get(Value, [](TSkedra& g) { return ToVariantBool(g.Enabled()); });
}

HRESULT TSkedraX::put_Enabled(VARIANT_BOOL Value) {
  return Put([&](TSkedra& g) { g.SetEnabled(Value != 0); });
}

HRESULT TSkedraX::get_Font(IFontDisp** Value) {
  return Trap(Value, [&] { return TFontAdapter::GetOleFont(FSkedra->Font()); });
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
  return Trap([&] { ShowAbout(&ModalHost()); });
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
    std::unique_ptr<TRxTaskObject> task = TakeTask(*wrapper);
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
  return Trap(Value, [&] { return NewTaskObject(FSkedra->TaskItems().Items(anIndex).Task()); });
}

// Schedule properties

HRESULT TSkedraX::get_WeekStart(IDayOfWeek* Value) {
  return Get(Value, [](TSkedra& g) { return g.Settings().WeekStart; });
}

HRESULT TSkedraX::put_WeekStart(IDayOfWeek Value) {
  return PutSetting([&](TSkedraSettings& s) { s.WeekStart = CheckedEnum<TDayOfWeek>(Value, dwSun, RaiseRangeErrorFor); });
}

HRESULT TSkedraX::get_WeekEnd(IDayOfWeek* Value) {
  return Get(Value, [](TSkedra& g) { return g.Settings().WeekEnd; });
}

HRESULT TSkedraX::put_WeekEnd(IDayOfWeek Value) {
  return PutSetting([&](TSkedraSettings& s) { s.WeekEnd = CheckedEnum<TDayOfWeek>(Value, dwSun, RaiseRangeErrorFor); });
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
  return Trap(Value, [&] {
    TTaskItem* item = FSkedra->SelectedItem();
    if (item == nullptr) throw Exception(L"No task is selected");
    return NewTaskObject(item->Task());
  });
}

HRESULT TSkedraX::get_SkedraType(ISkedraType* Value) {
  return Get(Value, [](TSkedra& g) { return g.SkedraType(); });
}

HRESULT TSkedraX::put_SkedraType(ISkedraType Value) {
  return Put([&](TSkedra& g) { g.SetSkedraType(CheckedEnum<TSkedraType>(Value, skWeekly, RaiseRangeErrorFor)); });
}

// ISkedraX2

HRESULT TSkedraX::get_AllowDragTasks(VARIANT_BOOL* Value) {
  return Get(Value, [](TSkedra& g) { return ToVariantBool(g.AllowDragTasks()); });
}

HRESULT TSkedraX::put_AllowDragTasks(VARIANT_BOOL Value) {
  return Put([&](TSkedra& g) { g.SetAllowDragTasks(Value != 0); });
}

HRESULT TSkedraX::get_ShowCurrentTime(VARIANT_BOOL* Value) {
  return Get(Value, [](TSkedra& g) { return ToVariantBool(g.ShowCurrentTime()); });
}

HRESULT TSkedraX::put_ShowCurrentTime(VARIANT_BOOL Value) {
  return Put([&](TSkedra& g) { g.SetShowCurrentTime(Value != 0); });
}

HRESULT TSkedraX::BeginUpdate() {
  return Trap([&] { FSkedra->BeginUpdate(); });
}

HRESULT TSkedraX::EndUpdate() {
  return Trap([&] { FSkedra->EndUpdate(); });
}

HRESULT TSkedraX::Refresh() {
  return Trap([&] { FSkedra->Refresh(); });
}

// Every element is checked, and every task taken from its object, before the collection gets
// any: a bad element leaves the control and every object as they were.
HRESULT TSkedraX::AddTasks(VARIANT aTasks) {
  return Trap([&] {
    std::vector<TComRef<IUnknown>> objects = TaskArrayElements(aTasks);
    std::vector<TTaskObjectX*> wrappers;
    for (const TComRef<IUnknown>& object : objects) {
      TTaskObjectX* wrapper = TTaskObjectX::FromInterface(object.Get());
      if (wrapper == nullptr) throw EOleError(L"Interface not supported", E_NOINTERFACE);
      if (!wrapper->OwnsTask()) throw EOleError(L"The task belongs to a schedule already", E_INVALIDARG);
      if (std::find(wrappers.begin(), wrappers.end(), wrapper) != wrappers.end())
        throw EOleError(L"The same task is given twice", E_INVALIDARG);
      wrappers.push_back(wrapper);
    }
    std::vector<std::unique_ptr<TTaskObject>> tasks;
    for (TTaskObjectX* wrapper : wrappers) tasks.push_back(TakeTask(*wrapper));
    FSkedra->TaskItems().AddTasks(std::move(tasks));
  });
}

TActiveXControlFactory& SkedraXFactory() {
  static TSystemClock clock;
  static TActiveXControlFactory factory(
      TComServer::Instance(), L"TSkedraX", CLSID_SkedraX,
      [](TAutoObjectFactory& self) -> IUnknown* {
        return static_cast<ISkedraX*>(new TSkedraX(static_cast<TActiveXControlFactory&>(self), MakeTaskFormEditor));
      },
      TWindowControlClass{[] { return std::make_unique<TSkedra>(nullptr, clock); }, WriteSkedraControlState,
                          ReadSkedraControlState},
      1, 0, IID_ISkedraX2, {DIID_ISkedraXEvents2});
  return factory;
}

}  // namespace skx
