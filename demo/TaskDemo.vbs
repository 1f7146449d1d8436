' A container's first steps with the control's automation objects: make a task and read it back.
Option Explicit

Dim task
Set task = CreateObject("SkedraXControl.TaskObjectX")
task.StartDateTime = DateSerial(2026, 12, 8) + TimeSerial(9, 0, 0)
task.FinishDateTime = DateSerial(2026, 12, 8) + TimeSerial(9, 45, 0)
task.Description = "Design review"
task.Where = "Room 4"
task.Priority = 2
task.IsPrivate = True

WScript.Echo "Task " & task.ID & ": " & task.Description & " in " & task.Where
WScript.Echo "  from " & CDate(task.StartDateTime) & " to " & CDate(task.FinishDateTime)
WScript.Echo "  priority " & task.Priority & ", private " & task.IsPrivate
