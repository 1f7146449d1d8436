// Formatting for the log: dates in the user's format, tasks in one line, keys by name, errors by
// their text.
#include "TaskText.h"

#include <cmath>
#include <cwchar>

namespace demo {

namespace {

SYSTEMTIME ToSystemTime(double Value) {
  SYSTEMTIME time{};
  ::VariantTimeToSystemTime(Value, &time);
  return time;
}

std::wstring TextProperty(ITaskObject& Task, HRESULT (STDMETHODCALLTYPE ITaskObject::*Get)(BSTR*)) {
  BSTR text = nullptr;
  std::wstring result;
  if (SUCCEEDED((Task.*Get)(&text)) && text != nullptr) result = text;
  ::SysFreeString(text);
  return result;
}

}  // namespace

double Today() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  now.wHour = now.wMinute = now.wSecond = now.wMilliseconds = 0;
  double today = 0;
  ::SystemTimeToVariantTime(&now, &today);
  return today;
}

double MondayOf(double Day) {
  // Day 2 (1 January 1900) was a Monday.
  const double day = std::floor(Day);
  return day - std::fmod(day - 2 + 7 * 1000, 7.0);
}

std::wstring DateText(double Value) {
  SYSTEMTIME time = ToSystemTime(Value);
  wchar_t weekday[16] = L"", date[64] = L"";
  ::GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, L"ddd", weekday, 16);
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 64);
  return std::wstring(weekday) + L" " + date;
}

std::wstring TimeText(double Value) {
  SYSTEMTIME time = ToSystemTime(Value);
  wchar_t text[16];
  std::swprintf(text, 16, L"%d:%02d", time.wHour, time.wMinute);
  return text;
}

long Minutes(double TimeOfDay) { return std::lround(TimeOfDay * 24 * 60); }

long MinuteOfDay(double Value) { return Minutes(Value - std::floor(Value)); }

std::wstring PeriodText(double Start, double Finish) {
  std::wstring text = DateText(Start) + L" " + TimeText(Start) + L" to ";
  if (std::floor(Finish) != std::floor(Start)) text += DateText(Finish) + L" ";
  return text + TimeText(Finish);
}

std::wstring KeyText(wchar_t Key) {
  switch (Key) {
    case L'\b': return L"Backspace";
    case L'\t': return L"Tab";
    case L'\r': return L"Enter";
    case 27: return L"Escape";
    case L' ': return L"Space";
  }
  if (Key < L' ') return L"Ctrl+" + std::wstring(1, static_cast<wchar_t>(L'@' + Key));
  return L"'" + std::wstring(1, Key) + L"'";
}

std::wstring Description(ITaskObject& Task) { return TextProperty(Task, &ITaskObject::get_Description); }

std::wstring TaskName(ITaskObject& Task) {
  long id = 0;
  Task.get_ID(&id);
  std::wstring text = L"\"" + Description(Task) + L"\"";
  if (id != 0) text += L" #" + std::to_wstring(id);
  return text;
}

std::wstring TaskText(ITaskObject& Task) {
  long remind = 0;
  double start = 0, finish = 0;
  VARIANT_BOOL isPrivate = VARIANT_FALSE;
  ITaskPriority priority = tpNormal;
  ITaskType type = ttTask;
  ITaskStatus status = tsActive;
  Task.get_StartDateTime(&start);
  Task.get_FinishDateTime(&finish);
  Task.get_IsPrivate(&isPrivate);
  Task.get_Remind(&remind);
  Task.get_Priority(&priority);
  Task.get_TaskType(&type);
  Task.get_Status(&status);

  std::wstring text = TaskName(Task) + L", " + PeriodText(start, finish);
  const std::wstring where = TextProperty(Task, &ITaskObject::get_Where);
  if (!where.empty()) text += L", at " + where;
  static const wchar_t* const types[] = {L"task", L"contact", L"event"};
  static const wchar_t* const priorities[] = {L"low", L"normal", L"high"};
  static const wchar_t* const statuses[] = {L"active", L"completed", L"suspended"};
  if (type >= ttTask && type <= ttEvent) text += std::wstring(L", ") + types[type];
  if (priority >= tpLow && priority <= tpHigh && priority != tpNormal)
    text += std::wstring(L", ") + priorities[priority] + L" priority";
  if (status >= tsActive && status <= tsSuspend && status != tsActive) text += std::wstring(L", ") + statuses[status];
  if (isPrivate) text += L", private";
  if (remind > 0) text += L", reminder " + std::to_wstring(remind) + L" min";
  return text;
}

const wchar_t* EventName(DISPID Event) {
  switch (Event) {
    case SkedraXEventsDispId::OnClick: return L"OnClick";
    case SkedraXEventsDispId::OnSelectTask: return L"OnSelectTask";
    case SkedraXEventsDispId::OnDblClick: return L"OnDblClick";
    case SkedraXEventsDispId::OnUnselectTask: return L"OnUnselectTask";
    case SkedraXEventsDispId::OnGetNewID: return L"OnGetNewID";
    case SkedraXEventsDispId::OnKeyPress: return L"OnKeyPress";
    case SkedraXEventsDispId::OnAppendTask: return L"OnAppendTask";
    case SkedraXEventsDispId::OnUpdateTask: return L"OnUpdateTask";
    case SkedraXEventsDispId::OnDeleteTask: return L"OnDeleteTask";
    case SkedraXEventsDispId::OnBeforeMoveTask: return L"OnBeforeMoveTask";
    case SkedraXEventsDispId::OnBeforeResizeTask: return L"OnBeforeResizeTask";
    case SkedraXEventsDispId::OnBeforeDeleteTask: return L"OnBeforeDeleteTask";
    case SkedraXEventsDispId::OnBeforeUpdateTask: return L"OnBeforeUpdateTask";
    case SkedraXEventsDispId::OnTaskMoved: return L"OnTaskMoved";
    case SkedraXEventsDispId::OnTaskResized: return L"OnTaskResized";
    default: return L"unknown event";
  }
}

std::wstring ErrorText(HRESULT Result) {
  std::wstring text;
  IErrorInfo* info = nullptr;
  if (::GetErrorInfo(0, &info) == S_OK && info != nullptr) {
    BSTR description = nullptr;
    if (SUCCEEDED(info->GetDescription(&description)) && description != nullptr) text = description;
    ::SysFreeString(description);
    info->Release();
  }
  if (text.empty()) {
    wchar_t code[32];
    std::swprintf(code, 32, L"error 0x%08lX", static_cast<unsigned long>(Result));
    text = code;
  }
  return text;
}

}  // namespace demo
