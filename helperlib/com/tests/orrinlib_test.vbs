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

' General routines.
Dim dll : dll = WScript.Arguments(0)
Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim here : here = fso.GetParentFolderName(WScript.ScriptFullName)
Check "or_Version", m.or_Version, "1.0"
Check "FileVersion of the library", m.FileVersion(dll), "1.0.0.2"
Check "FileVersion item", m.FileVersion(dll, 3), "OrrinModules32"
Check "CvtSec with suffix", m.CvtSec(3725, True), "1h 2min. 05sec."
Check "CvtSec as a clock", m.CvtSec(3725), "1:02:05"
Check "CompareVersions", m.CompareVersions("1.2", "1.10"), CLng(2)
Check "CompareVersions newer", m.CompareVersions("2.0", "1.9.9"), CLng(1)
Check "GetWord", m.GetWord("  copy   a.txt b.txt", 3), "b.txt"
Check "ParentPath", m.ParentPath("C:\a\b\c.txt"), "C:\a\b"
Check "ParentPath cut", m.ParentPath("C:\a\b\c.txt", 1), "c.txt"
Check "GetKW across the year", m.GetKW(DateSerial(2021, 1, 1)), 53
Check "DateForKW", CDate(m.DateForKW(1, 2021)), DateSerial(2021, 1, 4)
Check "DateForKW last day", CDate(m.DateForKW(53, 2020, True)), DateSerial(2021, 1, 3)
Check "getWinDir", Len(m.getWinDir) > 3, True
Check "getWinSysDir", InStr(1, m.getWinSysDir, m.getWinDir, 1), CLng(1)
Dim r, g, b : m.lToRGB r, g, b, &H123456
Check "lToRGB", r & "," & g & "," & b, "86,52,18"
Dim dl, dt, dw, dh
Check "GetDesktopRect", m.GetDesktopRect(dl, dt, dw, dh), True
Check "desktop width", dw > 0 And dh > 0, True
Dim ini : ini = here & "\test.ini"
m.PutINIString "Main", "Key", "value", ini
Check "INI read back", m.GetINIString("Main", "Key", ini), "value"
Check "INI default", m.GetINIString("Main", "None", ini, "dflt"), "dflt"
Dim copy : copy = here & "\copy.vbs"
Check "FCopy", m.FCopy(WScript.ScriptFullName, copy), CLng(0)
Check "FCopy keeps", m.FCopy(WScript.ScriptFullName, copy, 1), CLng(4)
Check "FCopy missing source", m.FCopy(here & "\none.vbs", copy), CLng(1)
Dim stamp : stamp = DateSerial(2020, 5, 6) + TimeSerial(7, 8, 9)
Check "FileTime set", Abs(CDbl(m.FileTime(copy, stamp, 2)) - CDbl(stamp)) < 0.00001, True
Check "FileTime read", Abs(CDbl(m.FileTime(copy)) - CDbl(stamp)) < 0.00001, True
m.LastFile "first.txt", Section & "\Recent"
m.LastFile "second.txt", Section & "\Recent"
Check "LastFile newest first", reg.RegGetValue(HKCU, Section & "\Recent", "File1"), "second.txt"
On Error Resume Next
m.CenterForm reg
Check "not a form number", Err.Number, CLng(5)
Check "not a form text", Err.Description, "A passed parameter is not a form/MDIForm"
Err.Clear
On Error GoTo 0

' Masking.
Dim c : Set c = CreateObject("OrrinModules32.OrrinCrypting")
c.CryptMask = "abcdefghijklmnop"
Check "CryptMask kept", c.CryptMask, "abcdefghijklmnop"
Dim hidden : hidden = c.KeyHide("Halvering Sealworthiness", "key")
Check "KeyHide is a string", TypeName(hidden), "String"
Check "KeyShow", c.KeyShow(hidden, "key"), "Halvering Sealworthiness"
c.CryptMask = ""
Check "default mask round trip", c.KeyShow(c.KeyHide("odd", "k"), "k"), "odd"
On Error Resume Next
c.CryptMask = "abc"
Check "short mask number", Err.Number, CLng(1001)
Check "short mask source", Err.Source, "CryptMask"
Err.Clear
c.CryptMask = "abcdefghijklmnoa"
Check "repeated mask number", Err.Number, CLng(1002)
Err.Clear
On Error GoTo 0

' Registry enumeration and tree removal.
Check "enum section", reg.RegEnumSection(HKCU, Section & "\c", 0), "d"
Check "enum past the end", reg.RegEnumSection(HKCU, Section & "\c", 1), ""
Check "enum value", reg.RegEnumValues(HKCU, Section & "\a\b", 0, True), "Text,hello"
Check "remove tree", reg.RegRemoveTree(HKCU, Section & "\c"), True
Check "tree gone", reg.RegEnumSection(HKCU, Section & "\c", 0), ""
Check "root refused", reg.RegRemoveTree(HKCU, ""), False

' Shell folders and shortcuts.
Dim s : Set s = CreateObject("OrrinModules32.OrrinShell")
Check "fonts folder", s.ShellGetSystemFolders(0, 20), m.getWinDir & "\Fonts"
Dim lnk : lnk = here & "\Script link"
Check "create link", s.ShellCreateLink(lnk, m.getWinDir & "\notepad.exe", "a.txt", here, _
                                       m.getWinDir & "\notepad.exe", 0, 3, 1601), CLng(0)
Dim le, la, lw, li, lx, ls, lh
Check "read link", s.ShellLinkInfos(lnk, le, la, lw, li, lx, ls, lh), CLng(0)
Check "link target", LCase(le), LCase(m.getWinDir & "\notepad.exe")
Check "link fields", la & "|" & lw & "|" & lx & "|" & ls & "|" & lh, "a.txt|" & here & "|0|3|1601"
Check "empty link name", s.ShellCreateLink("", "x.exe"), CLng(2)

' The tiling helper.
Dim t : Set t = CreateObject("OrrinModules32.FrmTile")
t.xAmount = 3
Check "FrmTile property", t.xAmount, 3
Set t.ofForm = Nothing
Check "ofForm empty", t.ofForm Is Nothing, True
On Error Resume Next
Set t.ofForm = reg
Check "ofForm needs a form", Err.Number, CLng(5)
Err.Clear
On Error GoTo 0

Check "help entries removed", m.RemoveORReg, True

WScript.Echo "done " & failures
WScript.Quit failures
