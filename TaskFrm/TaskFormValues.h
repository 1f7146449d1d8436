// What the task dialog's controls hold, and the rules that move it to and from a task.
#pragma once

#include "Framework/Core/FormatSettings.h"
#include "RxObjects/RxTaskObject.h"

namespace skx {

// The time fields' mask: hours with an optional leading digit, minutes, seconds.
extern const wchar_t* const TimeEditMask;
extern const wchar_t* const StartExceedsEndMessage;

constexpr int MinReminderInterval = 1;
constexpr int MaxReminderInterval = 59;
constexpr int DefaultReminderInterval = 15;

// The contents of the dialog's controls.
struct TTaskFormValues {
  TDateTime StartDate = 0;  // the date pickers: only their whole days count
  TDateTime EndDate = 0;
  String StartTime;  // the time fields' texts
  String EndTime;
  String Description;
  String Where;
  String Notes;
  bool Remind = false;
  String Interval;  // the interval box's text, as typed
  bool IsPrivate = false;
  int Priority = 0;
  int TaskType = 0;
  int Status = 0;
};

// Times travel as 24-hour hours:minutes:seconds whatever the locale's long time format, so
// that they fit the mask; the hours have a leading zero when the locale writes one.
String TimeFieldText(TDateTime Value, const TFormatSettings& Settings = GetFormatSettings());
// The time of day of a time field's text; "'%s' is not a valid time" when it holds none.
TDateTime TimeFieldValue(const String& Text);

// The controls' contents for a task. An unticked reminder leaves the interval at its default.
TTaskFormValues LoadTaskValues(const TRxTaskObject& Task,
                               const TFormatSettings& Settings = GetFormatSettings());
// Writes the contents into the task: the pickers give whole days, the time fields the time of
// day; an unticked reminder stores 0, a ticked one the interval's text read as an integer.
void StoreTaskValues(const TTaskFormValues& Values, TRxTaskObject& Task);

// Run at every attempt to close: both time fields must hold times (their conversion error
// otherwise). On OK the start must not lie after the finish (false: show StartExceedsEndMessage)
// and a ticked reminder needs an integer interval ("'%s' is not a valid integer value"), so that
// storing cannot fail halfway.
bool TaskFormCanClose(const TTaskFormValues& Values, bool ModalResultOK);

// The interval box on losing the focus: a number outside the range becomes the nearer bound,
// any other text stays.
String IntervalOnExit(const String& Text);

}  // namespace skx
