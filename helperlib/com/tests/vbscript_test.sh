#!/usr/bin/env bash
# Registers orrinlib.dll in the build tree's Wine prefix, drives it from
# Wine's VBScript, unregisters it and checks that nothing stays registered.
#   vbscript_test.sh PREFIX DLL TESTDIR
set -euo pipefail
prefix="$1"; dll="$2"; dir="$3"
root="$(cd "$(dirname "$0")/../../.." && pwd)"
run() { "$root/scripts/wine-run" --prefix "$prefix" "$@"; }
winpath() { echo "Z:${1//\//\\}"; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$dir/orrinlib_test.vbs" "$work/t.vbs"

# Exactly the four COM entry points, undecorated.
exports="$("${VTQ_OBJDUMP:-i686-w64-mingw32-objdump}" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
           grep -o 'Dll[A-Za-z@0-9]*' | sort | tr '\n' ' ')"
[ "$exports" = "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ] ||
  { echo "unexpected exports: $exports"; exit 1; }

run regsvr32 /s "$(winpath "$dll")"
run reg query 'HKCR\OrrinModules32.Regging\CLSID' >/dev/null

set +e
run cscript //nologo "$(winpath "$work/t.vbs")" "$(winpath "$dll")" >"$work/out" 2>&1
code=$?
set -e
tr -d '\r' <"$work/out"
# A read of a missing key leaves the registry as it was.
if run reg query 'HKCU\Software\Vantrelloquin script test\none' >/dev/null 2>&1; then
  echo "a read created its key"; exit 1
fi
run reg delete 'HKCU\Software\Vantrelloquin script test' /f >/dev/null 2>&1 || true
# RemoveORReg took back what creating the classes registered.
if run reg query 'HKCU\Software\Microsoft\Windows\Help' /v or32_1.0.hlp >/dev/null 2>&1; then
  echo "help registration left behind"; exit 1
fi

# cscript stops silently on a script error: only the last line proves the run.
grep -qx 'done 0' <(tr -d '\r' <"$work/out") || { echo "script did not finish cleanly"; exit 1; }
[ "$code" = 0 ] || { echo "script exit code $code"; exit 1; }

run regsvr32 /s /u "$(winpath "$dll")"
for key in 'HKCR\OrrinModules32.Regging' 'HKCR\OrrinModules32.OrrinModules' \
           'HKCR\OrrinModules32.FrmTile' 'HKCR\TypeLib\{E2F6C788-24B2-4B57-8C3B-25D5F101AE0B}'; do
  if run reg query "$key" >/dev/null 2>&1; then echo "still registered: $key"; exit 1; fi
done
echo "unregistered cleanly"
