' A script client of Marrowgate32 with the names people have: CJK, Greek,
' combining accents (NFD), an emoji (a surrogate pair in the script's own
' strings), blanks, and a path of more than 300 characters. Each file is
' split and assembled back through the control's classes under its own
' name; the engine's lists, lookups and the header's name speak it whole.
' The tests' prefix runs with the code page 1252 (scripts/wine-run), which
' carries none of these names. This file is UTF-8 (Wine's VBScript has no
' ChrW).
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

Function Repeat(text, times)
  Dim i : Repeat = ""
  For i = 1 To times : Repeat = Repeat & text : Next
End Function

Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim work : work = fso.BuildPath(fso.GetSpecialFolder(2), fso.GetTempName)
fso.CreateFolder work

Dim greekFolder : greekFolder = Repeat("Ωμέγα φάκε ", 9) & "λος"
Dim deep : deep = work & "\" & greekFolder
fso.CreateFolder deep
deep = deep & "\" & greekFolder
fso.CreateFolder deep
deep = deep & "\" & greekFolder
fso.CreateFolder deep

Dim names : names = Array( _
  work & "\写真 テスト.bin", _
  work & "\Ωμέγα.txt", _
  work & "\Café crème.doc", _
  work & "\party 🎉.tar.gz", _
  work & "\  two  blanks — and a dash  .iso", _
  deep & "\long 長い 😀.dat")
Check "the long path is longer than 300 characters", Len(names(5)) > 300, True

Dim i, source, base, stem, frags, out, file, s, a
For i = 0 To UBound(names)
  source = names(i)
  base = fso.GetFileName(source)
  stem = Left(base, InStr(base, "."))
  Set file = fso.CreateTextFile(source)
  file.Write String(15000 + i * 1000, Chr(65 + i))
  file.Close
  frags = work & "\frags" & i
  out = work & "\out" & i
  fso.CreateFolder frags
  fso.CreateFolder out

  Set s = Host.CreateObject("ActiveVantrelloquin.ActiveSplitter", "")
  Check base & ": added", s.FilesToSplit.Add(source), 0
  Check base & ": listed whole", s.FilesToSplit.Item(1), source
  Check base & ": found by its base name", s.FilesToSplit(base), source
  s.DestinationFolder = frags
  s.FragmentSize = 10240
  s.Split
  Check base & ": first fragment", fso.FileExists(frags & "\" & stem & "001"), True
  Check base & ": second fragment", fso.FileExists(frags & "\" & stem & "002"), True

  Set a = Host.CreateObject("ActiveVantrelloquin.ActiveAssembler", "")
  a.FilesToAssemble.Add frags & "\" & stem & "001"
  Check base & ": the header's name", a.AssembledFilename(1), base
  a.DestinationFolder = out
  a.Assemble
  Check base & ": assembled under its name", fso.FileExists(out & "\" & base), True
  If fso.FileExists(out & "\" & base) Then
    Check base & ": the same bytes", fso.OpenTextFile(out & "\" & base).ReadAll, _
          String(15000 + i * 1000, Chr(65 + i))
  End If
Next

On Error Resume Next  ' what is left goes with the prefix's temporary folder
fso.DeleteFolder work, True
On Error GoTo 0
Host.Echo "done " & failures
Host.Quit failures
