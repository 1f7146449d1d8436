// Formatting for the log: dates in the user's format, tasks in one line, errors by their text.
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

std::wstring TaskText(ITaskObject& Task) {
  long id = 0, remind = 0;
  double start = 0, finish = 0;
  VARIANT_BOOL isPrivate = VARIANT_FALSE;
  ITaskPriority priority = tpNormal;
  ITaskType type = ttTask;
  ITaskStatus status = tsActive;
  Task.get_ID(&id);
  Task.get_StartDateTime(&start);
  Task.get_FinishDateTime(&finish);
  Task.get_IsPrivate(&isPrivate);
  Task.get_Remind(&remind);
  Task.get_Priority(&priority);
  Task.get_TaskType(&type);
  Task.get_Status(&status);

  std::wstring text = L"\"" + TextProperty(Task, &ITaskObject::get_Description) + L"\"";
  if (id != 0) text += L" #" + std::to_wstring(id);
  text += L", " + DateText(start) + L" " + TimeText(start) + L" to ";
  if (std::floor(finish) != std::floor(start)) text += DateText(finish) + L" ";
  text += TimeText(finish);
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
