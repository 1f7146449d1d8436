' Cost of a late-bound call on the control and on a TaskObjectX, against the same calls on the
' platform's Scripting.Dictionary. Each figure is the median of five rounds of 100,000 calls, in
' nanoseconds per call, net of the empty loop; the ratio is ours over the dictionary's.
Option Explicit

Const Calls = 100000
Const Rounds = 5

' Each timing function holds its call inline in the loop, so that no indirection is timed.
Function Elapsed(started)
  Elapsed = Timer - started
  If Elapsed < 0 Then Elapsed = Elapsed + 86400
End Function

Function EmptyLoop()
  Dim i, started
  started = Timer
  For i = 1 To Calls
  Next
  EmptyLoop = Elapsed(started)
End Function

Function GetCount(target)
  Dim i, value, started
  started = Timer
  For i = 1 To Calls
    value = target.Count
  Next
  GetCount = Elapsed(started)
End Function

Function GetPriority(task)
  Dim i, value, started
  started = Timer
  For i = 1 To Calls
    value = task.Priority
  Next
  GetPriority = Elapsed(started)
End Function

Function PutPriority(task)
  Dim i, started
  started = Timer
  For i = 1 To Calls
    task.Priority = 2
  Next
  PutPriority = Elapsed(started)
End Function

Function GetItem(dictionary)
  Dim i, value, started
  started = Timer
  For i = 1 To Calls
    value = dictionary.Item("key")
  Next
  GetItem = Elapsed(started)
End Function

Function PutItem(dictionary)
  Dim i, started
  started = Timer
  For i = 1 To Calls
    dictionary.Item("key") = 2
  Next
  PutItem = Elapsed(started)
End Function

Function Median(values)
  Dim i, j, held
  For i = 1 To UBound(values)
    held = values(i)
    j = i - 1
    Do While j >= 0
      If values(j) <= held Then Exit Do
      values(j + 1) = values(j)
      j = j - 1
    Loop
    values(j + 1) = held
  Next
  Median = values(UBound(values) \ 2)
End Function

Function Pad(text, width)
  Pad = Space(width - Len(text)) & text
End Function

Function PadRight(text, width)
  PadRight = text & Space(width - Len(text))
End Function

Dim control, task, dictionary
Set control = CreateObject("SkedraXControl.SkedraX")
Set task = CreateObject("SkedraXControl.TaskObjectX")
Set dictionary = CreateObject("Scripting.Dictionary")
dictionary.Add "key", 1

' times(n, pass): 0 empty loop, 1 control Count, 2 Dictionary Count, 3 Priority get,
' 4 Dictionary Item get, 5 Priority put, 6 Dictionary Item put.
Dim times(6, 4), pass, n
For pass = 0 To Rounds - 1
  times(0, pass) = EmptyLoop()
  times(1, pass) = GetCount(control)
  times(2, pass) = GetCount(dictionary)
  times(3, pass) = GetPriority(task)
  times(4, pass) = GetItem(dictionary)
  times(5, pass) = PutPriority(task)
  times(6, pass) = PutItem(dictionary)
Next

Dim medians(6), one(4)
For n = 0 To 6
  For pass = 0 To Rounds - 1
    one(pass) = times(n, pass)
  Next
  medians(n) = Median(one)
Next

Function NsPerCall(n)
  NsPerCall = (medians(n) - medians(0)) * 1E9 / Calls
End Function

Sub Row(name, ours, theirs)
  WScript.Echo PadRight(name, 26) & Pad(CStr(Round(NsPerCall(ours))), 9) & _
    Pad(CStr(Round(NsPerCall(theirs))), 12) & Pad(FormatNumber(NsPerCall(ours) / NsPerCall(theirs), 2), 8)
End Sub

WScript.Echo PadRight("late-bound call (VBScript)", 26) & Pad("ours", 9) & Pad("Dictionary", 12) & Pad("ratio", 8) & _
  "   (ns per call, net of a " & Round(medians(0) * 1E9 / Calls) & " ns loop)"
Row "Count", 1, 2
Row "property get (Priority)", 3, 4
Row "property put (Priority)", 5, 6
