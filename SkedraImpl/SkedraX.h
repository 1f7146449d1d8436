// TSkedraX: the ActiveX control that wraps one schedule grid for a container.
#pragma once

#include <functional>
#include <memory>

#include "Framework/Com/ActiveXControl.h"
#include "RxObjects/RxTaskObject.h"
#include "SkedraComp/Skedra.h"
#include "SkedraXControl_TLB/SkedraXControl_TLB.h"

namespace skx {

class TTaskObjectX;

// Makes the task editor of one control, which shows its dialogs with the control's host.
using TTaskEditorMaker = std::function<std::unique_ptr<TTaskEditorService>(TModalHost& host)>;
// The task dialog (TTaskFormEditor).
std::unique_ptr<TTaskEditorService> MakeTaskFormEditor(TModalHost& host);

// ISkedraX2 extends ISkedraX, whose function table it begins with; IDispatch answers for both.
class TSkedraX : public TActiveXControl<ISkedraX2> {
 public:
  TSkedraX(TActiveXControlFactory& factory, const TTaskEditorMaker& makeEditor);
  ~TSkedraX() override;

  // Late-bound gets of Color answer a signed 32-bit value: script engines cannot use VT_UI4.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

  HRESULT STDMETHODCALLTYPE get_GridHeight(long* Value) override;
  HRESULT STDMETHODCALLTYPE get_GridWidth(long* Value) override;
  HRESULT STDMETHODCALLTYPE get_BorderStyle(TxBorderStyle* Value) override;
  HRESULT STDMETHODCALLTYPE put_BorderStyle(TxBorderStyle Value) override;
  HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* Value) override;
  HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR Value) override;
  HRESULT STDMETHODCALLTYPE get_Ctl3D(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_Ctl3D(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_DragCursor(short* Value) override;
  HRESULT STDMETHODCALLTYPE put_DragCursor(short Value) override;
  HRESULT STDMETHODCALLTYPE get_DragMode(TxDragMode* Value) override;
  HRESULT STDMETHODCALLTYPE put_DragMode(TxDragMode Value) override;
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** Value) override;
  HRESULT STDMETHODCALLTYPE put_Font(IFontDisp* Value) override;
  HRESULT STDMETHODCALLTYPE get_ParentColor(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_ParentColor(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_ParentCtl3D(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_ParentCtl3D(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_Cursor(short* Value) override;
  HRESULT STDMETHODCALLTYPE put_Cursor(short Value) override;
  HRESULT STDMETHODCALLTYPE AboutBox() override;
  HRESULT STDMETHODCALLTYPE Clear() override;
  HRESULT STDMETHODCALLTYPE AddTask(ITaskObject* aTask) override;
  HRESULT STDMETHODCALLTYPE Delete(long anID) override;
  HRESULT STDMETHODCALLTYPE NewTask() override;
  HRESULT STDMETHODCALLTYPE get_Count(long* Value) override;
  HRESULT STDMETHODCALLTYPE get_Items(long anIndex, ITaskObject** Value) override;
  HRESULT STDMETHODCALLTYPE get_WeekStart(IDayOfWeek* Value) override;
  HRESULT STDMETHODCALLTYPE put_WeekStart(IDayOfWeek Value) override;
  HRESULT STDMETHODCALLTYPE get_WeekEnd(IDayOfWeek* Value) override;
  HRESULT STDMETHODCALLTYPE put_WeekEnd(IDayOfWeek Value) override;
  HRESULT STDMETHODCALLTYPE get_DayStart(double* Value) override;
  HRESULT STDMETHODCALLTYPE put_DayStart(double Value) override;
  HRESULT STDMETHODCALLTYPE get_DayEnd(double* Value) override;
  HRESULT STDMETHODCALLTYPE put_DayEnd(double Value) override;
  HRESULT STDMETHODCALLTYPE get_TimeScale(long* Value) override;
  HRESULT STDMETHODCALLTYPE put_TimeScale(long Value) override;
  HRESULT STDMETHODCALLTYPE get_ActiveDate(double* Value) override;
  HRESULT STDMETHODCALLTYPE put_ActiveDate(double Value) override;
  HRESULT STDMETHODCALLTYPE get_CurrentDate(double* Value) override;
  HRESULT STDMETHODCALLTYPE get_SelectedTask(ITaskObject** Value) override;
  HRESULT STDMETHODCALLTYPE get_SkedraType(ISkedraType* Value) override;
  HRESULT STDMETHODCALLTYPE put_SkedraType(ISkedraType Value) override;

  HRESULT STDMETHODCALLTYPE get_AllowDragTasks(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_AllowDragTasks(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_ShowCurrentTime(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_ShowCurrentTime(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE BeginUpdate() override;
  HRESULT STDMETHODCALLTYPE EndUpdate() override;
  HRESULT STDMETHODCALLTYPE Refresh() override;
  HRESULT STDMETHODCALLTYPE AddTasks(VARIANT aTasks) override;

 protected:
  void InitializeControl() override;
  void DefinePages(std::vector<CLSID>& pages) override;

 private:
  void HookGridEvents();
  void HookSecondEvents();
  std::unique_ptr<TTaskObject> GridCreateTask(TComponent* Sender);
  // The wrapper's task, now this control's: its edits show this control's editor.
  std::unique_ptr<TRxTaskObject> TakeTask(TTaskObjectX& wrapper);
  // Which sinks hear an event: ISkedraXEvents declares it and its sink hears it as ever, or only
  // ISkedraXEvents2's sink does (the click, key and cancelable events).
  enum class TAudience { EverySink, SecondSink };
  void FireEvent(TAudience audience, DISPID id, const std::vector<VARIANT>& args);
  void FireTaskEvent(DISPID id, TTaskObject* task, TAudience audience = TAudience::EverySink);
  // True when a handler cancelled the change.
  bool FireCancelEvent(DISPID id, TTaskObject* task, std::initializer_list<VARIANT> times);

  template <typename TValue, typename TGet>
  HRESULT Get(TValue* value, TGet get);
  template <typename TPut>
  HRESULT Put(TPut put);
  // Copies the grid's settings, lets change replace one field and hands the whole record back.
  template <typename TChange>
  HRESULT PutSetting(TChange change);

  // Made before the grid and freed after it, with every task that refers to it.
  std::unique_ptr<TTaskEditorService> FEditor;
  TSkedra* FSkedra = nullptr;
};

// The factory of the control class SkedraX; created at start-up.
TActiveXControlFactory& SkedraXFactory();

}  // namespace skx
