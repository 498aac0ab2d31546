' The test control's events through the script host: a handler's Cancel
' reaches the control, a text event arrives, a frozen-free control raises
' every event once. Ends with the number of failures as the exit code.
Option Explicit
Dim failures : failures = 0
Dim asked : asked = 0

Sub Check(name, actual, expected)
  If actual = expected And TypeName(actual) = TypeName(expected) Then
    Host.Echo "ok " & name
  Else
    Host.Echo "FAIL " & name & ": got [" & actual & "] expected [" & expected & "]"
    failures = failures + 1
  End If
End Sub

Sub ctl_Asked(Number, Cancel)
  asked = asked + 1
  Check "Cancel starts False", Cancel, False
  Cancel = (Number Mod 2 = 1)
End Sub

Dim said
Sub ctl_Said(Text)
  said = Text
End Sub

Dim ctl : Set ctl = Host.CreateObject("ComkitTestControl.TestControl", "ctl_")
Check "odd number cancels", ctl.Ask(3), True
Check "even number does not", ctl.Ask(4), False
Check "one event per call", asked, 2
ctl.Say "some words"
Check "text event", said, "some words"
Host.Quit failures
