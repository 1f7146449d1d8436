' The schedule control from VBScript: settings, a task made with TaskObjectX, events, and a
' handler that keeps the user from dragging a task out of the working hours.
Option Explicit

Dim skedra, task, day
Set skedra = CreateObject("SkedraXControl.SkedraX")
WScript.ConnectObject skedra, "Skedra_"

Sub Skedra_OnDeleteTask(aTask)
  WScript.Echo "Deleted: " & aTask.Description
End Sub

Sub Skedra_OnBeforeMoveTask(aTask, NewStart, NewFinish, Cancel)
  If NewStart - Int(NewStart) < skedra.DayStart Then
    Cancel = True
    WScript.Echo "Not before " & FormatDateTime(CDate(skedra.DayStart), vbShortTime) & ": " & aTask.Description & " stays"
  End If
End Sub

day = DateSerial(2026, 12, 9)
skedra.SkedraType = 1                  ' skWeekly
skedra.WeekStart = 0                   ' dwMon
skedra.WeekEnd = 4                     ' dwFri
skedra.TimeScale = 30                  ' minutes per row
skedra.DayStart = CDbl(TimeSerial(8, 30, 0))
skedra.ActiveDate = CDbl(day)          ' the weekly view aligns it to the week start

Set task = CreateObject("SkedraXControl.TaskObjectX")
task.StartDateTime = CDbl(day + TimeSerial(10, 0, 0))
task.FinishDateTime = CDbl(day + TimeSerial(11, 0, 0))   ' start of the last slot covered
task.Description = "Design review"
task.Where = "Room 1.02"
task.Priority = 2                      ' tpHigh
task.Remind = 15                       ' minutes before
task.ID = 7                            ' before the control takes the task
skedra.AddTask task
skedra.Refresh                         ' lays the grid out now, with the new task

WScript.Echo skedra.Count & " task(s), week of " & FormatDateTime(CDate(skedra.ActiveDate), vbLongDate)
WScript.Sleep 500                      ' a user may drag the task meanwhile
WScript.Echo "First: " & skedra.Items(0).Description & " in " & skedra.Items(0).Where & _
  " at " & FormatDateTime(CDate(skedra.Items(0).StartDateTime), vbShortTime)
skedra.Delete 7
WScript.Echo skedra.Count & " task(s) left"
