// The task dialog's rules: loading a task into the controls, storing them back, closing.
#include <gtest/gtest.h>

#include "Framework/Core/Exceptions.h"
#include "TaskFrm/TaskFormValues.h"

namespace skx {
namespace {

TFormatSettings TwelveHourLocale() {
  TFormatSettings settings;
  settings.LongTimeFormat = L"h:mm:ss tt";
  return settings;
}

TFormatSettings PaddedLocale() {
  TFormatSettings settings;
  settings.LongTimeFormat = L"HH:mm:ss";
  settings.TimeAMString = L"";
  settings.TimePMString = L"";
  return settings;
}

String ConvertFailure(const TTaskFormValues& values, bool ok) {
  try {
    TaskFormCanClose(values, ok);
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return L"no failure";
}

const TDateTime March5 = EncodeDate(2024, 3, 5);

TTaskFormValues SameDay(const String& start, const String& finish) {
  TTaskFormValues values;
  values.StartDate = March5;
  values.EndDate = March5;
  values.StartTime = start;
  values.EndTime = finish;
  values.Interval = L"15";
  return values;
}

TEST(TaskFormValuesTest, TimesAreWrittenInTwentyFourHourFormWhateverTheLocale) {
  const TDateTime evening = March5 + EncodeTime(17, 5, 9, 0);
  const TDateTime morning = March5 + EncodeTime(9, 5, 0, 0);
  EXPECT_EQ(TimeFieldText(evening, TwelveHourLocale()), L"17:05:09");
  EXPECT_EQ(TimeFieldText(morning, TwelveHourLocale()), L"9:05:00");
  EXPECT_EQ(TimeFieldText(morning, PaddedLocale()), L"09:05:00");
  EXPECT_EQ(TimeFieldValue(L"17:05:09"), EncodeTime(17, 5, 9, 0));
  EXPECT_EQ(TimeFieldValue(L" 9:05:00"), EncodeTime(9, 5, 0, 0));
}

TEST(TaskFormValuesTest, LoadAndStoreCarryEveryField) {
  TRxTaskObject task(7);
  task.FStartDateTime = March5 + EncodeTime(9, 30, 0, 0);
  task.FFinishDateTime = March5 + 1 + EncodeTime(8, 15, 30, 0);
  task.FDescription = L"Review";
  task.FWhere = L"Room 4";
  task.FNotes = L"line one\r\nline two";
  task.FRemind = 30;
  task.FIsPrivate = true;
  task.FPriority = tpHigh;
  task.FTaskType = ttEvent;
  task.FStatus = tsSuspend;

  const TTaskFormValues values = LoadTaskValues(task, TwelveHourLocale());
  EXPECT_EQ(values.StartDate, March5);
  EXPECT_EQ(values.StartTime, L"9:30:00");
  EXPECT_EQ(values.EndDate, March5 + 1);
  EXPECT_EQ(values.EndTime, L"8:15:30");
  EXPECT_TRUE(values.Remind);
  EXPECT_EQ(values.Interval, L"30");
  EXPECT_EQ(values.Priority, tpHigh);
  EXPECT_EQ(values.TaskType, ttEvent);
  EXPECT_EQ(values.Status, tsSuspend);

  TRxTaskObject copy(8);
  StoreTaskValues(values, copy);
  EXPECT_EQ(copy.FStartDateTime, task.FStartDateTime);
  EXPECT_EQ(copy.FFinishDateTime, task.FFinishDateTime);
  EXPECT_EQ(copy.FDescription, L"Review");
  EXPECT_EQ(copy.FWhere, L"Room 4");
  EXPECT_EQ(copy.FNotes, L"line one\r\nline two");
  EXPECT_EQ(copy.FRemind, 30);
  EXPECT_TRUE(copy.FIsPrivate);
  EXPECT_EQ(copy.FPriority, tpHigh);
  EXPECT_EQ(copy.FTaskType, ttEvent);
  EXPECT_EQ(copy.FStatus, tsSuspend);
  EXPECT_EQ(copy.FID, 8);
}

TEST(TaskFormValuesTest, PickersGiveWholeDaysOnly) {
  TTaskFormValues values = SameDay(L" 9:30:00", L"10:00:00");
  values.StartDate = March5 + 0.75;
  values.EndDate = March5 + 0.5;
  TRxTaskObject task(1);
  StoreTaskValues(values, task);
  EXPECT_EQ(task.FStartDateTime, March5 + EncodeTime(9, 30, 0, 0));
  EXPECT_EQ(task.FFinishDateTime, March5 + EncodeTime(10, 0, 0, 0));
}

TEST(TaskFormValuesTest, DaysBefore1900KeepTheirTimeOfDay) {
  TRxTaskObject task(1);
  task.FStartDateTime = -5.25;  // 25 December 1899, 6:00
  task.FFinishDateTime = -5.5;  // the same day, 12:00
  const TTaskFormValues values = LoadTaskValues(task, PaddedLocale());
  EXPECT_EQ(values.StartDate, EncodeDate(1899, 12, 25));
  EXPECT_EQ(values.StartTime, L"06:00:00");
  EXPECT_TRUE(TaskFormCanClose(values, true)) << "6:00 lies before 12:00 on that day";
  TRxTaskObject copy(2);
  StoreTaskValues(values, copy);
  EXPECT_EQ(copy.FStartDateTime, -5.25);
  EXPECT_EQ(copy.FFinishDateTime, -5.5);
}

TEST(TaskFormValuesTest, ReminderIsTickedOnlyForAPositivePeriod) {
  TRxTaskObject task(1);
  TTaskFormValues values = LoadTaskValues(task);
  EXPECT_FALSE(values.Remind);
  EXPECT_EQ(values.Interval, L"15") << "an unticked reminder keeps the default interval";
  values.Remind = true;
  StoreTaskValues(values, task);
  EXPECT_EQ(task.FRemind, 15);

  task.FRemind = 75;  // larger than the box allows, never touched: stored unchanged
  values = LoadTaskValues(task);
  EXPECT_EQ(values.Interval, L"75");
  StoreTaskValues(values, task);
  EXPECT_EQ(task.FRemind, 75);

  values.Remind = false;
  values.Interval = L"not read";
  StoreTaskValues(values, task);
  EXPECT_EQ(task.FRemind, 0);

  task.FRemind = -4;
  EXPECT_FALSE(LoadTaskValues(task).Remind);
}

TEST(TaskFormValuesTest, StartAfterFinishKeepsTheDialogOpenOnOKOnly) {
  EXPECT_TRUE(TaskFormCanClose(SameDay(L"10:00:00", L"10:00:00"), true)) << "equal times pass";
  EXPECT_FALSE(TaskFormCanClose(SameDay(L"10:15:00", L"10:00:00"), true));
  EXPECT_TRUE(TaskFormCanClose(SameDay(L"10:15:00", L"10:00:00"), false)) << "Cancel closes";
  TTaskFormValues nextDay = SameDay(L"10:15:00", L" 8:00:00");
  nextDay.EndDate = March5 + 1;
  EXPECT_TRUE(TaskFormCanClose(nextDay, true)) << "date and time compare as one value";
}

TEST(TaskFormValuesTest, UnreadableFieldsKeepTheDialogOpen) {
  EXPECT_EQ(ConvertFailure(SameDay(L"25:00:00", L"10:00:00"), false),
            L"'25:00:00' is not a valid time")
      << "both times are read at every attempt to close, Cancel included";
  EXPECT_EQ(ConvertFailure(SameDay(L"10:00:00", L"  :  :  "), true), L"'  :  :  ' is not a valid time");

  TTaskFormValues values = SameDay(L"10:00:00", L"11:00:00");
  values.Interval = L"";
  EXPECT_EQ(ConvertFailure(values, true), L"no failure") << "an unticked reminder reads no interval";
  values.Remind = true;
  EXPECT_EQ(ConvertFailure(values, true), L"'' is not a valid integer value");
  EXPECT_EQ(ConvertFailure(values, false), L"no failure");
  values.Interval = L"-";
  EXPECT_EQ(ConvertFailure(values, true), L"'-' is not a valid integer value");
}

TEST(TaskFormValuesTest, IntervalIsClampedWhenTheBoxIsLeft) {
  EXPECT_EQ(IntervalOnExit(L"0"), L"1");
  EXPECT_EQ(IntervalOnExit(L"-7"), L"1");
  EXPECT_EQ(IntervalOnExit(L"75"), L"59");
  EXPECT_EQ(IntervalOnExit(L"99999999999999"), L"59");
  EXPECT_EQ(IntervalOnExit(L"07"), L"07") << "a number in range stays as typed";
  EXPECT_EQ(IntervalOnExit(L""), L"");
  EXPECT_EQ(IntervalOnExit(L"+"), L"+");
  EXPECT_EQ(IntervalOnExit(L"1.5"), L"1.5");
}

}  // namespace
}  // namespace skx
