' ActiveRecovery in a script client, as the guide shows it: a series split
' by ActiveSplitter, its recovery files written, one fragment deleted and
' one damaged, each repaired and the series assembled byte for byte; the
' verdicts of Verify with their counts and words, the progress events, and
' the class's refusals with their numbers and texts.
' Ends with the number of failures as the exit code.
Option Explicit
Dim failures : failures = 0

Sub Check(name, actual, expected)
  If actual = expected And TypeName(actual) = TypeName(expected) Then
    Host.Echo "ok " & name
  Else
    Host.Echo "FAIL " & name & ": got [" & actual & "] (" & TypeName(actual) & _
              ") expected [" & expected & "] (" & TypeName(expected) & ")"
    failures = failures + 1
  End If
End Sub

' The progress events: how many, whether each stayed within its total and
' whether the last of each step reached it.
Dim progressCount, stepsEnded, outOfRange, lastDone, lastTotal, stepsCompleted
Sub ResetHeard()
  progressCount = 0 : stepsEnded = 0 : outOfRange = 0 : stepsCompleted = 0
End Sub
Sub r_Progress(Done, Total)
  progressCount = progressCount + 1
  If TypeName(Done) <> "Long" Or Done < 0 Or Done > Total Then outOfRange = outOfRange + 1
  lastDone = Done : lastTotal = Total
End Sub
Sub r_StepEnded()
  stepsEnded = stepsEnded + 1
  If lastDone = lastTotal Then stepsCompleted = stepsCompleted + 1
End Sub
Sub CheckProgress(name)
  Check name & ": progress heard", progressCount > 0, True
  Check name & ": within its totals", outOfRange, 0
  Check name & ": every step ended at its total", stepsCompleted = stepsEnded And stepsEnded > 0, True
  ResetHeard
End Sub

Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim work : work = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName)
fso.CreateFolder work
fso.CreateFolder work & "\frags"
fso.CreateFolder work & "\out"
' 25,000 bytes that differ from fragment to fragment: three fragments.
Dim text, i : text = ""
For i = 0 To 24999
  text = text & Chr(33 + (i * 7 + i \ 13) Mod 90)
Next
Dim file : Set file = fso.CreateTextFile(work & "\data.bin")
file.Write text
file.Close

Dim s : Set s = Host.CreateObject("ActiveVantrelloquin.ActiveSplitter", "s_")
s.FilesToSplit.Add work & "\data.bin"
s.DestinationFolder = work & "\frags"
s.FragmentSize = 10240
s.Split

Function Assembled()
  If fso.FileExists(work & "\out\data.bin") Then fso.DeleteFile work & "\out\data.bin"
  Dim a : Set a = Host.CreateObject("ActiveVantrelloquin.ActiveAssembler", "a_")
  a.FilesToAssemble.Add work & "\frags\data.001"
  a.DestinationFolder = work & "\out"
  a.Assemble
  Assembled = fso.OpenTextFile(work & "\out\data.bin").ReadAll
End Function

' --- the example of the guide -------------------------------------------
ResetHeard
Dim r : Set r = Host.CreateObject("ActiveVantrelloquin.ActiveRecovery", "r_")
Check "10 per cent by default", r.RecoveryPercent, CDbl(10)
r.FirstFragment = work & "\frags\data.001"
r.RecoveryPercent = 40
r.WriteRecoveryFiles
CheckProgress "writing"
Check "recovery files written", fso.FileExists(work & "\frags\data.par2"), True
Check "they rebuild a lost fragment", r.RebuildableFragments >= 1, True

Check "a sound series", r.Verify, True
Check "its fragments", r.FragmentCount, CLng(3)
Check "all sound", r.SoundFragments, CLng(3)
Check "none missing", r.MissingFragments, CLng(0)
Check "nothing to repair", r.Repairable, False
Check "the verdict says so", Left(r.Verdict, 52), _
      "The series is sound: all 3 fragments are there and w"

fso.DeleteFile work & "\frags\data.002"
Check "a fragment deleted", r.Verify, False
Check "one missing", r.MissingFragments, CLng(1)
Check "two sound", r.SoundFragments, CLng(2)
Check "it can be repaired", r.Repairable, True
Check "the verdict names it", InStr(r.Verdict, "Missing: fragment 2 (data.002)") > 0, True
Check "the verdict tells a script what to call", _
      InStr(r.Verdict, "can rebuild 1 fragment at fault: call Repair.") > 0, True
ResetHeard
Check "repaired", r.Repair, True
CheckProgress "repairing"
Check "sound once repaired", r.SoundFragments, CLng(3)
Check "assembled byte for byte after the repair", Assembled() = text, True
' -------------------------------------------------------------------------

' A damaged fragment, the same length: only the recovery files find it.
Dim damaged : damaged = fso.OpenTextFile(work & "\frags\data.003").ReadAll
Set file = fso.CreateTextFile(work & "\frags\data.003", True)
file.Write Left(damaged, 100) & String(200, "#") & Mid(damaged, 301)
file.Close
Check "a fragment damaged", r.Verify, False
Check "one damaged", r.DamagedFragments, CLng(1)
Check "none missing of it", r.MissingFragments, CLng(0)
Check "repaired again", r.Repair, True
Check "assembled byte for byte after the second repair", Assembled() = text, True
Check "a whole series needs no repair", r.Repair, True

' The first fragment lost: the recovery files bring its header back too.
fso.DeleteFile work & "\frags\data.001"
Check "the first fragment rebuilt", r.Repair, True
Check "assembled byte for byte once the first is back", Assembled() = text, True

' The class's refusals: a component's numbers, its name as the source.
Sub CheckError(name, number, description)
  Check name & ": number", Err.Number, number
  Check name & ": source", Err.Source, "ActiveRecovery"
  Check name & ": text", Err.Description, description
  Err.Clear
End Sub
On Error Resume Next
r.FirstFragment = work & "\frags\none.001"
r.Verify
CheckError "no such fragment", vbObjectError + 3001, _
           """" & work & "\frags\none.001"" could not be read as the first fragment of a series."
r.WriteRecoveryFiles
CheckError "no such fragment to protect", vbObjectError + 3001, _
           """" & work & "\frags\none.001"" could not be read as the first fragment of a series."
r.RecoveryPercent = 0
CheckError "no recovery data", CLng(380), _
           "The share of recovery data is a percentage: more than 0, at most 100."
r.RecoveryPercent = 100.5
Check "more than all refused", Err.Number, CLng(380)
Err.Clear
Check "the percentage kept", r.RecoveryPercent, CDbl(40)

r.FirstFragment = work & "\frags\data.001"
fso.DeleteFile work & "\frags\data.*"
s.Split
fso.DeleteFile work & "\frags\data.003"
Dim repaired : repaired = r.Repair
CheckError "no recovery files", vbObjectError + 3004, _
           "The series has no recovery files (data.par2); nothing was repaired."
Check "nothing rebuilt", fso.FileExists(work & "\frags\data.003"), False
r.WriteRecoveryFiles
CheckError "a fragment not there", vbObjectError + 3003, work & "\frags\data.003" & _
           " is not there: recovery files need every fragment of the series in one folder. " & _
           "No recovery files were written."
On Error GoTo 0
Check "no recovery files written for an incomplete series", _
      fso.FileExists(work & "\frags\data.par2"), False
Check "its verdict without recovery files", r.Verify, False
Check "says there are none", InStr(r.Verdict, "The series has no recovery files.") > 0, True

fso.DeleteFolder work, True
Host.Quit failures
