' Drives Marrowgate32.ocx through late binding, as a script or a classic
' program would: the file list, a split and an assemble, engine errors.
'   cscript marrowgate32_test.vbs SOURCE FRAGMENTS-FOLDER OUTPUT-FOLDER
Option Explicit
Dim failures : failures = 0

Sub Check(name, actual, expected)
  If actual = expected And TypeName(actual) = TypeName(expected) Then
    WScript.Echo "ok " & name
  Else
    WScript.Echo "FAIL " & name & ": got [" & actual & "] (" & TypeName(actual) & _
                 ") expected [" & expected & "] (" & TypeName(expected) & ")"
    failures = failures + 1
  End If
End Sub

Dim source : source = WScript.Arguments(0)
Dim fragments : fragments = WScript.Arguments(1)
Dim output : output = WScript.Arguments(2)
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")

Dim s : Set s = CreateObject("ActiveVantrelloquin.ActiveSplitter")
Check "splitter's list starts empty", s.FilesToSplit.Count, 0
Check "Add gives 0", s.FilesToSplit.Add(source), 0
Check "the same base name again gives 0", s.FilesToSplit.Add(source), 0
Check "Count", s.FilesToSplit.Count, 1
Check "the same list every time", s.FilesToSplit Is s.FilesToSplit, True
Check "Item by position", s.FilesToSplit.Item(1), source
Check "Item is the default member", s.FilesToSplit(1), source
Check "Item by base name", s.FilesToSplit("data.bin"), source
Dim name, seen : seen = ""
For Each name In s.FilesToSplit
  seen = seen & "[" & name & "]"
Next
Check "For Each", seen, "[" & source & "]"
Check "smallest file", s.FilesToSplit.SmallestFile, CLng(25000)

s.DestinationFolder = fragments
Check "destination ends in a backslash", s.DestinationFolder, fragments & "\"
Check "format by default", s.FileFormat, CLng(0)
s.FragmentSize = 10240
Check "fragment size", s.FragmentSize, CLng(10240)
s.FragmentSize = 5
Check "a size below the least is clamped", s.FragmentSize, CLng(10240)
Dim size : size = 999999999
s.FragmentSize = size
Check "a size above the most is clamped", s.FragmentSize, CLng(104857600)
Check "the caller's variable receives the clamped size", size, CLng(104857600)
s.FragmentSize = 10240
Check "fragments needed", s.FragsNeeded(1), 3
s.Split
Check "first fragment written", fso.FileExists(fragments & "\data.001"), True
Check "third fragment written", fso.FileExists(fragments & "\data.003"), True
Check "no fourth fragment", fso.FileExists(fragments & "\data.004"), False

Dim a : Set a = CreateObject("ActiveVantrelloquin.ActiveAssembler")
Check "Add a first fragment", a.FilesToAssemble.Add(fragments & "\data.001"), 0
Check "own format recognised", a.FileFormat(1), CLng(0)
Check "could be own format", a.FormatCouldBe(1, 0), True
Check "fragment count", a.FragmentCount(1), 3
Check "assembled name", a.AssembledFilename(1), "data.bin"
Check "unknowns as raw by default", a.FormatForUnknowns, CLng(1)
a.DestinationFolder = output
a.Assemble
Check "assembled", fso.FileExists(output & "\data.bin"), True

' Engine errors reach the script as run-time errors with number and text.
On Error Resume Next
Dim v : v = a.FilesToAssemble.Item(5)
Check "position out of range: number", Err.Number, CLng(5)
Check "position out of range: text", Err.Description, "Invalid procedure call or argument"
Err.Clear
fso.DeleteFile source
v = s.FragsNeeded(1)
Check "missing file: number", Err.Number, CLng(53)
Check "missing file: text", Err.Description, "File not found"
Check "missing file: source", Err.Source, "ActiveVantrelloquin"
Err.Clear
s.FilesToSplit.Remove "data.bin"
Check "Remove by key", s.FilesToSplit.Count, 0
s.FilesToSplit.Remove "data.bin"
Check "Remove of an unknown key fails", Err.Number, CLng(5)
Err.Clear
On Error GoTo 0

' The recovery class, registered beside the others.
Dim r : Set r = CreateObject("ActiveVantrelloquin.ActiveRecovery")
r.FirstFragment = fragments & "\data.001"
Check "the series verified", r.Verify, True
Check "its fragments counted", r.FragmentCount, CLng(3)

Dim m : Set m = CreateObject("ActiveVantrelloquin.Marrowgate")
Check "control's splitter", TypeName(m.ActiveSplitter), "_ActiveSplitter"
Check "control's assembler", TypeName(m.ActiveAssembler), "_ActiveAssembler"
Check "control's splitter is its own", m.ActiveSplitter.FilesToSplit.Count, 0

WScript.Echo "done " & failures
WScript.Quit failures
