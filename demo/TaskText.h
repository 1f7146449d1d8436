// Dates, tasks and keys as the demo's log shows them, and the automation error of a failed call.
#pragma once

#include <string>

#include "SkedraXControl.h"

namespace demo {

// The date-time values of the control: days since 30 December 1899, the fraction the time of day.
double Today();
double MondayOf(double Day);
std::wstring DateText(double Value);  // weekday and short date in the user's format
std::wstring TimeText(double Value);  // hours and minutes
long Minutes(double TimeOfDay);        // rounded to whole minutes after midnight
long MinuteOfDay(double Value);        // the same, of the value's own day
// A start and a finish, with the finish's date only when it is another day.
std::wstring PeriodText(double Start, double Finish);
// A typed character as the log shows it: quoted, or by the name of its key.
std::wstring KeyText(wchar_t Key);

std::wstring Description(ITaskObject& Task);
// A task's quoted description and its identifier when it has one.
std::wstring TaskName(ITaskObject& Task);
// One line about a task: description, when, where and its flags.
std::wstring TaskText(ITaskObject& Task);
const wchar_t* EventName(DISPID Event);

// The description that the failed call left as error information, or its HRESULT.
std::wstring ErrorText(HRESULT Result);

}  // namespace demo
