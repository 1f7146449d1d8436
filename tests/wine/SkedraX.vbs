' The control as a container author scripts it: every property and method by name, events
' through WScript.ConnectObject, failures through Err.Description. The host confirms the task
' dialog.
Option Explicit

Dim failures, log
failures = 0
log = ""

Sub Check(condition, what)
  If condition Then
    WScript.Echo "PASS " & what
  Else
    WScript.Echo "FAIL " & what
    failures = failures + 1
  End If
End Sub

Sub X_OnGetNewID(anID)
  log = log & "N "
End Sub
Sub X_OnSelectTask(aTask)
  log = log & "S" & aTask.ID & " "
End Sub
Sub X_OnUnselectTask(aTask)
  log = log & "U" & aTask.ID & " "
End Sub
Sub X_OnAppendTask(aTask)
  log = log & "A" & aTask.ID & " "
End Sub
Sub X_OnUpdateTask(aTask)
  log = log & "P" & aTask.ID & " "
End Sub
Sub X_OnDeleteTask(aTask)
  log = log & "D" & aTask.ID & " "
End Sub

Function AddTask(x, startAt)
  Dim t
  Set t = CreateObject("SkedraXControl.TaskObjectX")
  t.StartDateTime = startAt
  t.FinishDateTime = startAt + 1 / 24
  t.Description = "Scripted"
  x.AddTask t
  Set AddTask = t
End Function

Dim x
Set x = CreateObject("SkedraXControl.SkedraX")
WScript.ConnectObject x, "X_"

' Control properties
Check x.GridHeight >= 0 And x.GridWidth >= 0, "GridHeight and GridWidth"
x.BorderStyle = 0
Check x.BorderStyle = 0, "BorderStyle"
x.Color = &H8000000F
Check x.Color = &H8000000F, "Color keeps a system colour"
x.Color = RGB(1, 2, 3)
Check x.Color = RGB(1, 2, 3) And x.ParentColor = False, "Color turns ParentColor off"
x.ParentColor = True
Check x.ParentColor = True, "ParentColor"
x.Ctl3D = False
Check x.Ctl3D = False And x.ParentCtl3D = False, "Ctl3D turns ParentCtl3D off"
x.ParentCtl3D = True
Check x.ParentCtl3D = True, "ParentCtl3D"
x.DragCursor = -13
Check x.DragCursor = -13, "DragCursor"
x.DragMode = 1
Check x.DragMode = 1, "DragMode"
x.Enabled = False
Check x.Enabled = False, "Enabled"
x.Enabled = True
x.Visible = True
Check x.Visible = True, "Visible"
x.Cursor = -3
Check x.Cursor = -3, "Cursor"
Check x.Font.Size > 0, "Font is an OLE font"

' Schedule properties
x.WeekStart = 1
Check x.WeekStart = 1, "WeekStart"
x.WeekStart = 0
x.WeekEnd = 6
Check x.WeekEnd = 6, "WeekEnd"
x.DayStart = TimeSerial(7, 0, 0)
Check Abs(x.DayStart - TimeSerial(7, 0, 0)) < 0.00001, "DayStart"
x.DayEnd = TimeSerial(18, 0, 0)
Check Abs(x.DayEnd - TimeSerial(18, 0, 0)) < 0.00001, "DayEnd"
x.TimeScale = 30
Check x.TimeScale = 30, "TimeScale"
Check x.CurrentDate > 0, "CurrentDate"
x.SkedraType = 1
x.ActiveDate = DateSerial(2026, 12, 9)
Check x.ActiveDate = CDbl(DateSerial(2026, 12, 7)), "ActiveDate reads back as the Monday"
Check x.SkedraType = 1, "SkedraType"

On Error Resume Next
x.TimeScale = 256
Check Err.Description = "Range check error", "TimeScale = 256: " & Err.Description
Err.Clear
Dim item
Set item = x.Items(x.Count)
Check Err.Description = "List index out of bounds (0)", "Items(Count): " & Err.Description
Err.Clear
Set item = x.SelectedTask
Check Err.Number <> 0, "SelectedTask without a selection fails"
Err.Clear
x.WeekStart = 7
Check Err.Number <> 0 And x.WeekStart = 0, "WeekStart = 7 is refused"
Err.Clear
On Error GoTo 0
Check x.TimeScale = 30, "TimeScale unchanged"

' Tasks and their events
Dim first, second
Set first = AddTask(x, DateSerial(2026, 12, 7) + TimeSerial(9, 0, 0))
Set second = AddTask(x, DateSerial(2026, 12, 8) + TimeSerial(10, 0, 0))
Check x.Count = 2, "AddTask"
Check x.Items(1).Description = "Scripted", "Items"
Check log = "", "AddTask raises no event"
x.Delete 0
Check log = "U0 D0 ", "Delete of an unselected task: " & log
Check x.Count = 1, "Delete removes the first task"
log = ""
x.Delete 12345
Check log = "", "Delete of an unknown identifier"
log = ""
x.NewTask
Check log = "N A0 ", "NewTask confirmed in the dialog appends: " & log
Check x.Count = 2 And x.Items(1).ID = 0, "the new task is the last one"
log = ""
x.Clear
Check log = "" And x.Count = 0, "Clear without a selection raises nothing"

If failures = 0 Then WScript.Echo "ALL PASSED"
