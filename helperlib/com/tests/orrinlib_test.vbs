' Drives orrinlib through late binding, as a script or a VB program would.
Option Explicit
Const HKCU = &H80000001
Const Section = "Software\Vantrelloquin script test"
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

Dim reg : Set reg = CreateObject("OrrinModules32.Regging")
Dim m : Set m = CreateObject("OrrinModules32.OrrinModules")

' Registry: defaults, creation of every level, last error.
Check "missing key gives the default", reg.RegGetValue(HKCU, Section & "\none", "v", False, "dflt"), "dflt"
Check "error text after a miss", Len(reg.RegLastErr) > 0, True
Check "missing key without default", reg.RegGetValue(HKCU, Section & "\none", "v"), ""
Check "missing number without default", reg.RegGetValue(HKCU, Section & "\none", "v", True), CLng(0)
Check "set creates all levels", reg.RegSetValue(HKCU, "\" & Section & "\a\b", "Text", "hello"), True
Check "last error empty after success", reg.RegLastErr, ""
Check "read back", reg.RegGetValue(HKCU, Section & "\a\b", "Text"), "hello"
Dim sectionVar : sectionVar = Section & "\a\b"
Check "variables passed by reference", reg.RegGetValue(HKCU, sectionVar, "Text", False, "x"), "hello"
Check "set a number", reg.RegSetValue(HKCU, Section, "Num", 1234, 4), True
Check "read a number", reg.RegGetValue(HKCU, Section, "Num", True), CLng(1234)
Check "number as text", reg.RegSetValue(HKCU, Section, "NumText", 42), True
Check "number text read back", reg.RegGetValue(HKCU, Section, "NumText"), "42"
Check "remove a value", reg.RegRemoveKey(HKCU, Section, "NumText"), True
Check "removed value gives default", reg.RegGetValue(HKCU, Section, "NumText", False, "gone"), "gone"
Check "remove twice fails", reg.RegRemoveKey(HKCU, Section, "NumText"), False
Check "failure leaves the error text", Len(reg.RegLastErr) > 0, True
Check "create tree", reg.RegCreateTree(HKCU, Section & "\c\d\e"), True

' Parameter strings.
Check "GetParam 2", m.GetParam("a,b,c", 2), "b"
Check "GetParam 4", m.GetParam("a,b,c", 4), ""
Check "GetParam no separator", m.GetParam("abc", 1), "abc"
Check "GetParam blank trim 2", m.GetParam("one two", 2, " ", True), "two"
Check "GetParam double blank", m.GetParam("one  two", 2, " ", True), ""
Check "GetParam empty separator", m.GetParam("a,b", 2, ""), "b"
Check "ParamCount", m.ParamCount("a,,c"), 3
Check "ParamCount trailing", m.ParamCount("a,b,"), 2
Check "ParamCount empty", m.ParamCount(""), 0
Check "SetParam pads", m.SetParam("a", 3, "x"), "a,,x"
Check "FindParam contains", m.FindParam("alpha,Beta,gamma", "BET"), 2
Check "FindParam is, cased", m.FindParam("beta,Beta", "Beta", ",", 3, 1, True), 2
Check "FindParam empty", m.FindParam("a,b", ""), 0
Check "ChangeParamSep", m.ChangeParamSep("a,b,c", ";"), "a;b;c"
Check "fExist of this script", m.fExist(WScript.ScriptFullName), True
Check "fExist of nothing", m.fExist(WScript.ScriptFullName & ".missing"), False

' The other classes exist; their routines say they are not there yet.
Dim c : Set c = CreateObject("OrrinModules32.OrrinCrypting")
c.CryptMask = "abcdefghijklmnop"
Check "CryptMask kept", c.CryptMask, "abcdefghijklmnop"
On Error Resume Next
c.CryptMask = "abc"
Check "short mask refused", Err.Number <> 0, True
Check "short mask source", Err.Source, "CryptMask"
Err.Clear
Dim v : v = m.CvtSec(3725)
Check "not implemented raises", Err.Number <> 0, True
Check "not implemented source", Err.Source, "OrrinModules32:CvtSec"
Check "not implemented text", InStr(Err.Description, "not implemented") > 0, True
Err.Clear
On Error GoTo 0
Dim s : Set s = CreateObject("OrrinModules32.OrrinShell")
Dim t : Set t = CreateObject("OrrinModules32.FrmTile")
t.xAmount = 3
Check "FrmTile property", t.xAmount, 3

WScript.Echo "done " & failures
WScript.Quit failures
