' Drives SkedraXControl.TaskObjectX late-bound, as a script container would.
Option Explicit

Dim failures : failures = 0

Sub Check(name, actual, expected)
  If actual = expected Then
    WScript.Echo "PASS " & name
  Else
    WScript.Echo "FAIL " & name & ": got " & actual & ", expected " & expected
    failures = failures + 1
  End If
End Sub

Dim task
Set task = CreateObject("SkedraXControl.TaskObjectX")

Check "ID", task.ID, 0
Check "default Priority", task.Priority, 1
Check "default TaskType", task.TaskType, 0
Check "default Status", task.Status, 0
Check "default IsPrivate", task.IsPrivate, False
Check "default Remind", task.Remind, 0
Check "default Description is empty", IsNull(task.Description) Or task.Description = "", True

task.StartDateTime = 36000.375
task.FinishDateTime = 36000.4375
task.IsPrivate = 1
task.Remind = -5
task.Description = "Board meeting"
task.Notes = "Line one" & vbCrLf & "Line two"
task.Where = "Room 4"
task.Priority = 2
task.TaskType = 1
task.Status = 2

Check "StartDateTime", task.StartDateTime, 36000.375
Check "FinishDateTime", task.FinishDateTime, 36000.4375
Check "IsPrivate reads True", task.IsPrivate, True
Check "IsPrivate is -1", CLng(task.IsPrivate), -1
Check "Remind", task.Remind, -5
Check "Description", task.Description, "Board meeting"
Check "Notes", task.Notes, "Line one" & vbCrLf & "Line two"
Check "Where", task.Where, "Room 4"
Check "Priority", task.Priority, 2
Check "TaskType", task.TaskType, 1
Check "Status", task.Status, 2

On Error Resume Next
Err.Clear
task.Priority = 3
Check "rejected Priority put raises", Err.Number <> 0, True
Check "error source", Err.Source, "SkedraXControl.TaskObjectX"
Check "error names the value", InStr(Err.Description, "3") > 0, True
Err.Clear
task.Status = -1
Check "rejected Status put raises", Err.Number <> 0, True
Err.Clear
On Error GoTo 0
Check "Priority unchanged", task.Priority, 2
Check "Status unchanged", task.Status, 2

' The identifier is the container's to give until a schedule holds the task.
task.ID = 5
Check "ID put before the task is added", task.ID, 5
Dim skedra
Set skedra = CreateObject("SkedraXControl.SkedraX")
skedra.AddTask task
On Error Resume Next
task.ID = 6
Check "ID cannot be put once the task is added", Err.Number <> 0, True
Check "the refusal says why", Err.Description, "The identifier of a task cannot change once it is in a schedule"
Err.Clear
On Error GoTo 0
Check "ID unchanged", task.ID, 5

task.Description = ""
Check "empty Description", task.Description, ""

Set task = Nothing

If failures = 0 Then
  WScript.Echo "ALL PASSED"
Else
  WScript.Echo failures & " FAILED"
End If
