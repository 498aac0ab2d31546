' orrinlib's file, INI and registry routines from a script, with names no
' code page of the tests' prefix carries (it runs with 1252): CJK, Greek,
' combining accents, an emoji (a surrogate pair in the script's strings)
' and a path of more than 300 characters. This file is UTF-8.
' Ends with the number of failures as the exit code.
Option Explicit
Const HKCU = &H80000001
Const Section = "Software\Vantrelloquin script names test"
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

Dim m : Set m = Host.CreateObject("OrrinModules32.OrrinModules", "")
Dim reg : Set reg = Host.CreateObject("OrrinModules32.Regging", "")
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim work : work = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName)
fso.CreateFolder work
Dim folder : folder = work
Dim level
For level = 1 To 3
  folder = folder & "\Ωμέγα φάκελος Ωμέγα φάκελος Ωμέγα φάκελος Ωμέγα φάκελος Ωμέγα φάκελος Ωμέγα φάκελος Ωμέγα"
  fso.CreateFolder folder
Next

Dim source : source = work & "\写真 テスト.txt"
Dim file : Set file = fso.CreateTextFile(source)
file.Write "content"
file.Close
Dim stamp : stamp = DateSerial(2020, 5, 6) + TimeSerial(7, 8, 9)
Dim names : names = Array(work & "\Café 🎉.txt", folder & "\長い 😀.txt")
Check "the long name is longer than 300 characters", Len(names(1)) > 300, True
Dim name
For Each name In names
  Check "FCopy to " & name, m.FCopy(source, name), CLng(0)
  Check "the copy is there", fso.FileExists(name), True
  Check "FileTime of the copy", Abs(CDbl(m.FileTime(name, stamp, 2)) - CDbl(stamp)) < 0.00001, True
  Check "FCopy keeps the copy", m.FCopy(source, name, 1), CLng(4)
Next

Dim ini : ini = work & "\Ωμέγα.ini"
m.PutINIString "写真", "Ω", "🎉 value", ini
Check "INI text read back", m.GetINIString("写真", "Ω", ini), "🎉 value"
Check "registry value set", reg.RegSetValue(HKCU, Section, "Ωμέγα 🎉", names(0)), True
Check "registry value read back", reg.RegGetValue(HKCU, Section, "Ωμέγα 🎉"), names(0)
Check "registry value removed", reg.RegRemoveKey(HKCU, Section, "Ωμέγα 🎉"), True

On Error Resume Next  ' what is left goes with the prefix's temporary folder
fso.DeleteFolder work, True
On Error GoTo 0
Host.Echo "done " & failures
Host.Quit failures
