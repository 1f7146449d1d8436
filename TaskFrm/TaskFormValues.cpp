// Moving a task into the dialog's controls and back, and the checks before the dialog closes.
#include "TaskFrm/TaskFormValues.h"

#include <cstdint>

#include "Framework/Core/Exceptions.h"

namespace skx {

const wchar_t* const TimeEditMask = L"!90:00:00;1;_";
const wchar_t* const StartExceedsEndMessage = L"The time of start exceeds time of end.";

namespace {

// A day before 30 December 1899 counts its time of day forward from its midnight while the
// value itself is negative, so the time is subtracted there.
TDateTime ComposeDateTime(int day, TDateTime time) { return day < 0 ? day - time : day + time; }

bool LocaleHoursPadded(const TFormatSettings& settings) {
  return settings.LongTimeFormat.find(L"HH") != String::npos ||
         settings.LongTimeFormat.find(L"hh") != String::npos;
}

TFormatSettings TimeFieldSettings() {
  TFormatSettings settings;
  settings.TimeSeparator = L':';
  return settings;
}

}  // namespace

String TimeFieldText(TDateTime Value, const TFormatSettings& Settings) {
  return FormatDateTime(LocaleHoursPadded(Settings) ? L"HH:mm:ss" : L"H:mm:ss", Value, Settings);
}

TDateTime TimeFieldValue(const String& Text) { return StrToTime(Text, TimeFieldSettings()); }

TTaskFormValues LoadTaskValues(const TRxTaskObject& Task, const TFormatSettings& Settings) {
  TTaskFormValues values;
  // A time that rounds up to midnight shows as 0:00:00 of the next day, so the picker shows that
  // day.
  values.StartDate = DayOf(Task.FStartDateTime);
  values.StartTime = TimeFieldText(Task.FStartDateTime, Settings);
  values.EndDate = DayOf(Task.FFinishDateTime);
  values.EndTime = TimeFieldText(Task.FFinishDateTime, Settings);
  values.Description = Task.FDescription;
  values.Where = Task.FWhere;
  values.Notes = Task.FNotes;
  values.Remind = Task.FRemind > 0;
  values.Interval = std::to_wstring(values.Remind ? Task.FRemind : DefaultReminderInterval);
  values.IsPrivate = Task.FIsPrivate;
  values.Priority = Task.FPriority;
  values.TaskType = Task.FTaskType;
  values.Status = Task.FStatus;
  return values;
}

void StoreTaskValues(const TTaskFormValues& Values, TRxTaskObject& Task) {
  Task.FStartDateTime = ComposeDateTime(WholeDays(Values.StartDate), TimeFieldValue(Values.StartTime));
  Task.FFinishDateTime = ComposeDateTime(WholeDays(Values.EndDate), TimeFieldValue(Values.EndTime));
  Task.FDescription = Values.Description;
  Task.FWhere = Values.Where;
  Task.FNotes = Values.Notes;
  Task.FRemind = Values.Remind ? StrToInt(Values.Interval) : 0;
  Task.FIsPrivate = Values.IsPrivate;
  Task.FPriority = static_cast<TTaskPriority>(Values.Priority);
  Task.FTaskType = static_cast<TTaskType>(Values.TaskType);
  Task.FStatus = static_cast<TTaskStatus>(Values.Status);
}

bool TaskFormCanClose(const TTaskFormValues& Values, bool ModalResultOK) {
  // Compared on one scale of days, which the stored encoding is not before 30 December 1899.
  const TDateTime start = WholeDays(Values.StartDate) + TimeFieldValue(Values.StartTime);
  const TDateTime finish = WholeDays(Values.EndDate) + TimeFieldValue(Values.EndTime);
  if (!ModalResultOK) return true;
  if (start > finish) return false;
  if (Values.Remind) StrToInt(Values.Interval);
  return true;
}

String IntervalOnExit(const String& Text) {
  size_t pos = 0;
  while (pos < Text.size() && Text[pos] == L' ') ++pos;
  size_t end = Text.size();
  while (end > pos && Text[end - 1] == L' ') --end;
  const bool negative = pos < end && Text[pos] == L'-';
  if (pos < end && (Text[pos] == L'-' || Text[pos] == L'+')) ++pos;
  if (pos == end) return Text;
  std::int64_t value = 0;
  for (; pos < end; ++pos) {
    if (Text[pos] < L'0' || Text[pos] > L'9') return Text;
    if (value <= MaxReminderInterval) value = value * 10 + (Text[pos] - L'0');
  }
  if (negative) value = -value;
  if (value < MinReminderInterval) return std::to_wstring(MinReminderInterval);
  if (value > MaxReminderInterval) return std::to_wstring(MaxReminderInterval);
  return Text;
}

}  // namespace skx
