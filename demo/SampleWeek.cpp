// The sample week: meetings that overlap, an event over two days, completed and suspended work,
// private appointments, reminders and places.
#include "SampleWeek.h"

namespace demo {

namespace {

struct TSample {
  int Day;  // 0 Monday .. 4 Friday
  int Start;  // minutes after midnight
  int LastDay;
  int Last;  // start of the last quarter hour that the task covers
  const wchar_t* Description;
  const wchar_t* Where;
  const wchar_t* Notes;
  ITaskType Type;
  ITaskPriority Priority;
  ITaskStatus Status;
  bool Private;
  long Remind;
};

constexpr int At(int Hour, int Minute) { return Hour * 60 + Minute; }

const TSample Samples[] = {
    {0, At(10, 0), 0, At(11, 45), L"Sprint planning", L"Room 2.14", L"Bring the estimates", ttEvent, tpHigh, tsActive,
     false, 15},
    {0, At(11, 0), 0, At(11, 30), L"Call with supplier", L"", L"Ask about the delivery dates", ttContact, tpNormal,
     tsActive, false, 0},
    {1, At(13, 0), 1, At(14, 45), L"Design review", L"Room 1.02", L"", ttEvent, tpNormal, tsActive, false, 10},
    {1, At(14, 0), 1, At(14, 15), L"Dentist", L"Dr. Weber", L"", ttContact, tpNormal, tsActive, true, 60},
    {2, At(8, 0), 3, At(17, 0), L"Trade fair", L"Hall 4", L"Stand B12", ttEvent, tpNormal, tsActive, false, 0},
    {2, At(15, 0), 2, At(15, 45), L"Quarterly report", L"", L"Sent to finance", ttTask, tpHigh, tsCompleted, false,
     0},
    {3, At(10, 0), 3, At(10, 45), L"Supplier audit", L"Plant 2", L"Postponed by the supplier", ttTask, tpNormal,
     tsSuspend, false, 0},
    {4, At(10, 0), 4, At(11, 45), L"Code review", L"", L"", ttTask, tpLow, tsActive, false, 0},
    {4, At(12, 0), 4, At(12, 45), L"Lunch with Anna", L"Cafe Central", L"", ttContact, tpNormal, tsActive, true, 0},
    {4, At(15, 30), 4, At(16, 15), L"Release sign-off", L"Room 2.14", L"", ttTask, tpHigh, tsActive, false, 30},
};

double DateTime(double Monday, int Day, int Minutes) { return Monday + Day + Minutes / 1440.0; }

HRESULT PutText(ITaskObject& Task, HRESULT (STDMETHODCALLTYPE ITaskObject::*Put)(BSTR), const wchar_t* Text) {
  BSTR text = ::SysAllocString(Text);
  HRESULT result = (Task.*Put)(text);
  ::SysFreeString(text);
  return result;
}

HRESULT AddTask(ISkedraX& Control, const TSample& Sample, double Monday) {
  ITaskObject* task = nullptr;
  HRESULT result = ::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                                      reinterpret_cast<void**>(&task));
  if (FAILED(result)) return result;
  const HRESULT steps[] = {
      task->put_StartDateTime(DateTime(Monday, Sample.Day, Sample.Start)),
      task->put_FinishDateTime(DateTime(Monday, Sample.LastDay, Sample.Last)),
      PutText(*task, &ITaskObject::put_Description, Sample.Description),
      PutText(*task, &ITaskObject::put_Where, Sample.Where),
      PutText(*task, &ITaskObject::put_Notes, Sample.Notes),
      task->put_TaskType(Sample.Type),
      task->put_Priority(Sample.Priority),
      task->put_Status(Sample.Status),
      task->put_IsPrivate(Sample.Private ? VARIANT_TRUE : VARIANT_FALSE),
      task->put_Remind(Sample.Remind),
      Control.AddTask(task),
  };
  task->Release();
  for (HRESULT step : steps)
    if (FAILED(step)) return step;
  return S_OK;
}

}  // namespace

HRESULT AddSampleWeek(ISkedraX& Control, double Monday) {
  for (int day = 0; day < 5; ++day) {
    const TSample standUp{day, At(9, 0), day, At(9, 0), L"Stand-up", L"Team corner", L"", ttEvent, tpNormal,
                          tsActive, false, 5};
    if (HRESULT result = AddTask(Control, standUp, Monday); FAILED(result)) return result;
  }
  for (const TSample& sample : Samples)
    if (HRESULT result = AddTask(Control, sample, Monday); FAILED(result)) return result;
  return S_OK;
}

}  // namespace demo
