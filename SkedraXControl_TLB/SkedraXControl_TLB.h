// C++ declarations of the automation type library SkedraXControl: GUIDs, enumerations, DISPIDs, interfaces.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
#include <olectl.h>

// The GUIDs are fixed for ever: containers store them. Values are in SkedraXControl_TLB.cpp.
extern "C" {
extern const GUID LIBID_SkedraXControl;
extern const IID IID_ISkedraX;
extern const IID DIID_ISkedraXEvents;
extern const CLSID CLSID_SkedraX;
extern const GUID GUID_TxBorderStyle;
extern const GUID GUID_TxDragMode;
extern const GUID GUID_TxScrollStyle;
extern const GUID GUID_TxMouseButton;
extern const IID IID_ITaskObject;
extern const CLSID CLSID_TaskObjectX;
extern const GUID GUID_ISkedraType;
extern const GUID GUID_IDayOfWeek;
extern const GUID GUID_ITaskPriority;
extern const GUID GUID_ITaskType;
extern const GUID GUID_ITaskStatus;
extern const IID IID_ISkedraX2;
extern const IID DIID_ISkedraXEvents2;
extern const IID IID_ITaskObject2;
}

constexpr WORD SkedraXControlMajorVersion = 1;
constexpr WORD SkedraXControlMinorVersion = 0;
constexpr LCID SkedraXControlLcid = 0x0409;

// Enumerations: 32-bit, constants numbered from 0; each constant's member id in the library equals its value.
enum TxBorderStyle : long { bsNone = 0, bsSingle = 1 };
enum TxDragMode : long { dmManual = 0, dmAutomatic = 1 };
enum TxScrollStyle : long { ssNone = 0, ssHorizontal = 1, ssVertical = 2, ssBoth = 3 };
enum TxMouseButton : long { mbLeft = 0, mbRight = 1, mbMiddle = 2 };
enum ISkedraType : long { skDaily = 0, skWeekly = 1 };
enum IDayOfWeek : long { dwMon = 0, dwTue = 1, dwWed = 2, dwThu = 3, dwFri = 4, dwSat = 5, dwSun = 6 };
enum ITaskPriority : long { tpLow = 0, tpNormal = 1, tpHigh = 2 };
enum ITaskType : long { ttTask = 0, ttContact = 1, ttEvent = 2 };
enum ITaskStatus : long { tsActive = 0, tsCompleted = 1, tsSuspend = 2 };

// Member identifiers, one namespace per interface (the DISPIDs are neither contiguous nor in member order).
namespace SkedraXDispId {
constexpr DISPID WeekStart = 1;
constexpr DISPID WeekEnd = 2;
constexpr DISPID DayStart = 3;
constexpr DISPID GridHeight = 4;
constexpr DISPID GridWidth = 5;
constexpr DISPID DayEnd = 6;
constexpr DISPID TimeScale = 7;
constexpr DISPID ActiveDate = 8;
constexpr DISPID BorderStyle = 9;
constexpr DISPID Color = 10;
constexpr DISPID CurrentDate = 11;
constexpr DISPID Ctl3D = 12;
constexpr DISPID SelectedTask = 13;
constexpr DISPID SkedraType = 14;
constexpr DISPID DragCursor = 16;
constexpr DISPID DragMode = 17;
constexpr DISPID Enabled = 18;
constexpr DISPID Font = 23;
constexpr DISPID ParentColor = 25;
constexpr DISPID ParentCtl3D = 26;
constexpr DISPID Visible = 28;
constexpr DISPID Cursor = 31;
constexpr DISPID Clear = 32;
constexpr DISPID AddTask = 33;
constexpr DISPID Delete = 34;
constexpr DISPID NewTask = 35;
constexpr DISPID Count = 36;
constexpr DISPID Items = 37;
constexpr DISPID AboutBox = -552;  // DISPID_ABOUTBOX
// ISkedraX2
constexpr DISPID AllowDragTasks = 38;
constexpr DISPID ShowCurrentTime = 39;
constexpr DISPID BeginUpdate = 40;
constexpr DISPID EndUpdate = 41;
constexpr DISPID AddTasks = 42;
constexpr DISPID Refresh = -550;  // DISPID_REFRESH
}  // namespace SkedraXDispId

namespace SkedraXEventsDispId {
constexpr DISPID OnClick = 1;
constexpr DISPID OnSelectTask = 2;
constexpr DISPID OnDblClick = 3;
constexpr DISPID OnUnselectTask = 4;
constexpr DISPID OnGetNewID = 5;
constexpr DISPID OnKeyPress = 6;
constexpr DISPID OnAppendTask = 7;
constexpr DISPID OnUpdateTask = 8;
constexpr DISPID OnDeleteTask = 9;
// ISkedraXEvents2: the nine above, then these
constexpr DISPID OnBeforeMoveTask = 10;
constexpr DISPID OnBeforeResizeTask = 11;
constexpr DISPID OnBeforeDeleteTask = 12;
constexpr DISPID OnBeforeUpdateTask = 13;
constexpr DISPID OnTaskMoved = 14;
constexpr DISPID OnTaskResized = 15;
}  // namespace SkedraXEventsDispId

namespace TaskObjectDispId {
constexpr DISPID ID = 1;
constexpr DISPID StartDateTime = 2;
constexpr DISPID FinishDateTime = 3;
constexpr DISPID IsPrivate = 4;
constexpr DISPID Remind = 5;
constexpr DISPID Description = 6;
constexpr DISPID Notes = 7;
constexpr DISPID Priority = 8;
constexpr DISPID TaskType = 9;
constexpr DISPID Status = 10;
constexpr DISPID Where = 11;
}  // namespace TaskObjectDispId

// Dual interface of a task; methods in exactly the library's vtable order (after the 7 IUnknown/IDispatch slots).
struct ITaskObject : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_ID(long* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_StartDateTime(double* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_StartDateTime(double Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FinishDateTime(double* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_FinishDateTime(double Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsPrivate(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsPrivate(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Remind(long* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Remind(long Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Description(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Description(BSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Notes(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Notes(BSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Priority(ITaskPriority* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Priority(ITaskPriority Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TaskType(ITaskType* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_TaskType(ITaskType Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Status(ITaskStatus* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Status(ITaskStatus Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Where(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Where(BSTR Value) = 0;
};

// Dual interface of the control; methods in exactly the library's vtable order (after the 7 IUnknown/IDispatch slots).
struct ISkedraX : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_GridHeight(long* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_GridWidth(long* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BorderStyle(TxBorderStyle* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_BorderStyle(TxBorderStyle Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Ctl3D(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Ctl3D(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DragCursor(short* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DragCursor(short Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DragMode(TxDragMode* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DragMode(TxDragMode Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Font(IFontDisp* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ParentColor(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ParentColor(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ParentCtl3D(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ParentCtl3D(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Cursor(short* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Cursor(short Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE AboutBox() = 0;
  virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddTask(ITaskObject* aTask) = 0;
  virtual HRESULT STDMETHODCALLTYPE Delete(long anID) = 0;
  virtual HRESULT STDMETHODCALLTYPE NewTask() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Count(long* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Items(long anIndex, ITaskObject** Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WeekStart(IDayOfWeek* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WeekStart(IDayOfWeek Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WeekEnd(IDayOfWeek* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WeekEnd(IDayOfWeek Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DayStart(double* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DayStart(double Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DayEnd(double* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DayEnd(double Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TimeScale(long* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_TimeScale(long Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ActiveDate(double* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ActiveDate(double Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentDate(double* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SelectedTask(ITaskObject** Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SkedraType(ISkedraType* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_SkedraType(ISkedraType Value) = 0;
};

// ISkedraXEvents is a dispinterface: the control calls its sink only through IDispatch::Invoke with the DISPIDs above.

// The second versions extend the first ones, whose function tables they begin with; the control's and the task
// object's IDispatch answer for them (a superset with the same DISPIDs).
struct ISkedraX2 : public ISkedraX {
  virtual HRESULT STDMETHODCALLTYPE get_AllowDragTasks(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AllowDragTasks(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ShowCurrentTime(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ShowCurrentTime(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE BeginUpdate() = 0;
  virtual HRESULT STDMETHODCALLTYPE EndUpdate() = 0;
  virtual HRESULT STDMETHODCALLTYPE Refresh() = 0;
  // aTasks: an array (of VARIANTs, dispatch or unknown pointers) of task objects.
  virtual HRESULT STDMETHODCALLTYPE AddTasks(VARIANT aTasks) = 0;
};

struct ITaskObject2 : public ITaskObject {
  // Only before the task is given to a control.
  virtual HRESULT STDMETHODCALLTYPE put_ID(long Value) = 0;
};

// ISkedraXEvents2 is a dispinterface too, served by a second connection point: every event of ISkedraXEvents with
// the same DISPIDs, the click and key events, and the cancelable changes (Cancel: VARIANT_BOOL by reference).
