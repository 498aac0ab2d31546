' The installed libraries' classes, created by their ProgIDs through the
' registry as any script or program would, each answering one call. Run by
' the system's cscript or by vtq_script_host without --server, so that only
' the registration (the installer's, or regsvr32's) can make them. Ends
' with the number of failures; a class that cannot be made, or a call that
' fails, is one too (Wine's cscript would end such a script with 0).
Option Explicit
Dim failures : failures = 0

' WScript under cscript, Host under vtq_script_host: both echo, create and quit.
Dim Runner
On Error Resume Next
Set Runner = WScript
If Err.Number <> 0 Then
  Err.Clear
  Set Runner = Host
End If
On Error GoTo 0

Sub Check(name, actual, expected)
  If actual = expected And TypeName(actual) = TypeName(expected) Then
    Runner.Echo "ok " & name
  Else
    Runner.Echo "FAIL " & name & ": got [" & actual & "] expected [" & expected & "]"
    failures = failures + 1
  End If
End Sub

Sub UseEveryClass()
  Dim modules : Set modules = Runner.CreateObject("OrrinModules32.OrrinModules", "")
  Check "OrrinModules counts fields", modules.ParamCount("/assext C:\a.001", " "), 2
  Check "OrrinModules compares versions", modules.CompareVersions("1.10", "1.2"), CLng(1)

  Dim crypting : Set crypting = Runner.CreateObject("OrrinModules32.OrrinCrypting", "")
  Check "OrrinCrypting round trip", crypting.KeyShow(crypting.KeyHide("some text", "key"), "key"), _
        "some text"

  Dim regging : Set regging = Runner.CreateObject("OrrinModules32.Regging", "")
  Check "Regging reads a default", _
        regging.RegGetValue(-2147483647, "Software\Vantrelloquin installer test", "none", False, "x"), "x"

  Dim shell : Set shell = Runner.CreateObject("OrrinModules32.OrrinShell", "")
  Check "OrrinShell created", IsObject(shell), True
  Dim tile : Set tile = Runner.CreateObject("OrrinModules32.FrmTile", "")
  Check "FrmTile created", IsObject(tile), True

  Dim splitter : Set splitter = Runner.CreateObject("ActiveVantrelloquin.ActiveSplitter", "")
  splitter.FragmentSize = 5
  Check "ActiveSplitter clamps a size", splitter.FragmentSize, CLng(10240)
  Check "ActiveSplitter's list", splitter.FilesToSplit.Count, 0

  Dim assembler : Set assembler = Runner.CreateObject("ActiveVantrelloquin.ActiveAssembler", "")
  Check "ActiveAssembler's list", assembler.FilesToAssemble.Count, 0

  Dim recovery : Set recovery = Runner.CreateObject("ActiveVantrelloquin.ActiveRecovery", "")
  Check "ActiveRecovery's share of recovery data", recovery.RecoveryPercent, CDbl(10)

  Dim control : Set control = Runner.CreateObject("ActiveVantrelloquin.Marrowgate", "")
  Check "Marrowgate offers a splitter", control.ActiveSplitter.FilesToSplit.Count, 0
End Sub

On Error Resume Next
UseEveryClass
If Err.Number <> 0 Then
  Runner.Echo "FAIL stopped by error " & Err.Number & ": " & Err.Description
  failures = failures + 1
End If
On Error GoTo 0
Runner.Quit failures
