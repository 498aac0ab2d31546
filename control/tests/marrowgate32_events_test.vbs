' Marrowgate32's events in a script client that sinks them: the engine
' classes by ProgID with their progress events, a disk request on a floppy
' drive answered with Cancel = True, and the control raising its own
' objects' events as Start, Interval and RequireNextDisk.
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

' Every event as "Name:argument(type)" in the order it came.
Dim heard : heard = ""
Sub Hear(name, value)
  heard = heard & name & ":" & value & "(" & TypeName(value) & ") "
End Sub
Function Take()
  Take = Trim(heard)
  heard = ""
End Function

Sub s_SplitStart(PBMax) : Hear "SplitStart", PBMax : End Sub
Sub s_SplitInterval(PBCurrent) : Hear "SplitInterval", PBCurrent : End Sub
Sub s_RequireNextDisk(DiskNumber, Cancel)
  Hear "RequireNextDisk", DiskNumber
  Check "the splitter's Cancel starts False", Cancel, False
  Cancel = True
End Sub
Sub a_AssembleStart(PBMax) : Hear "AssembleStart", PBMax : End Sub
Sub a_AssembleInterval(PBCurrent) : Hear "AssembleInterval", PBCurrent : End Sub
Sub m_Start(PBMax) : Hear "Start", PBMax : End Sub
Sub m_Interval(PBCurrent) : Hear "Interval", PBCurrent : End Sub
Sub m_RequireNextDisk(DiskNumber, Cancel)
  Hear "RequireNextDisk", DiskNumber
  Check "the control's Cancel starts False", Cancel, False
  Cancel = True
End Sub

Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim work : work = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName)
' A: is a floppy drive in the tests' prefix: a removable destination.
Dim floppy : floppy = "A:\" & fso.GetTempName
fso.CreateFolder work
fso.CreateFolder work & "\out"
fso.CreateFolder floppy
Dim source : Set source = fso.CreateTextFile(work & "\data.bin")
source.Write String(25000, "q")  ' three fragments of 10,240 bytes
source.Close

Sub Configure(splitter, destination)
  splitter.FilesToSplit.Clear
  splitter.FilesToSplit.Add work & "\data.bin"
  splitter.DestinationFolder = destination
  splitter.FragmentSize = 10240
End Sub

' The splitter by its ProgID: 32-bit byte figures, a start of one fragment
' more than the series, one interval per fragment and a last one at the end.
Dim s : Set s = Host.CreateObject("ActiveVantrelloquin.ActiveSplitter", "s_")
Configure s, work
s.Split
Dim splitEvents : splitEvents = Take()
Check "splitter events", splitEvents, "SplitStart:40960(Long) SplitInterval:10240(Long) " & _
      "SplitInterval:20480(Long) SplitInterval:30720(Long) SplitInterval:40960(Long)"
Check "third fragment written", fso.FileExists(work & "\data.003"), True

' The assembler by its ProgID: 16-bit figures, one interval per fragment.
Dim a : Set a = Host.CreateObject("ActiveVantrelloquin.ActiveAssembler", "a_")
a.FilesToAssemble.Add work & "\data.001"
a.DestinationFolder = work & "\out"
a.Assemble
Check "assembler events", Take(), "AssembleStart:3(Integer) AssembleInterval:1(Integer) " & _
      "AssembleInterval:2(Integer) AssembleInterval:3(Integer)"
Check "assembled", fso.GetFile(work & "\out\data.bin").Size, CLng(25000)

' Onto a floppy the second fragment needs the next disk; Cancel ends the run.
Configure s, floppy
s.Split
Check "disk request cancelled", Take(), "SplitStart:40960(Long) SplitInterval:10240(Long) " & _
      "RequireNextDisk:2(Integer)"
Check "first fragment on the disk", fso.FileExists(floppy & "\data.001"), True
Check "nothing after the cancelled request", fso.FileExists(floppy & "\data.002"), False

' The control: its splitter's and assembler's events as its own, the
' assembler's figures widened to 32 bits.
Dim m : Set m = Host.CreateObject("ActiveVantrelloquin.Marrowgate", "m_")
Dim cs : Set cs = m.ActiveSplitter
Check "the same splitter every time", cs Is m.ActiveSplitter, True
fso.DeleteFolder work & "\out"
fso.CreateFolder work & "\out"
Configure cs, work & "\out"
cs.Split
Check "the control relays its splitter", Take(), Replace(splitEvents, "Split", "")
Dim ca : Set ca = m.ActiveAssembler
ca.FilesToAssemble.Add work & "\out\data.001"
ca.DestinationFolder = work
fso.DeleteFile work & "\data.bin"
ca.Assemble
Check "the control relays its assembler, widened", Take(), _
      "Start:3(Long) Interval:1(Long) Interval:2(Long) Interval:3(Long)"
Check "assembled through the control", fso.GetFile(work & "\data.bin").Size, CLng(25000)
fso.DeleteFile floppy & "\data.001"
Configure cs, floppy
cs.Split
Check "the control's Cancel reaches its splitter", Take(), _
      "Start:40960(Long) Interval:10240(Long) RequireNextDisk:2(Integer)"
Check "nothing after the control's cancelled request", fso.FileExists(floppy & "\data.002"), False

' Objects of the script's own are not the control's: it stays silent.
fso.CreateFolder work & "\own"
Configure s, work & "\own"
s.Split
Check "a splitter of the script's own is not relayed", _
      InStr(Replace(Take(), "SplitStart:", ""), "Start:"), CLng(0)

Set m = Nothing
fso.DeleteFolder floppy, True
fso.DeleteFolder work, True
Host.Quit failures
