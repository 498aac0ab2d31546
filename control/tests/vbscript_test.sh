#!/usr/bin/env bash
# Registers Marrowgate32.ocx in the build tree's Wine prefix, drives it from
# Wine's VBScript (a split and an assemble whose output must equal the
# source), unregisters it and checks that nothing stays registered.
#   vbscript_test.sh PREFIX OCX TESTDIR
set -euo pipefail
prefix="$1"; ocx="$2"; dir="$3"
root="$(cd "$(dirname "$0")/../.." && pwd)"
run() { "$root/scripts/wine-run" --prefix "$prefix" "$@"; }
winpath() { echo "Z:${1//\//\\}"; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$dir/marrowgate32_test.vbs" "$work/t.vbs"
mkdir "$work/src" "$work/frags" "$work/out"
head -c 25000 /dev/urandom >"$work/src/data.bin"
cp "$work/src/data.bin" "$work/original.bin"

# Exactly the four COM entry points, undecorated.
exports="$("${VTQ_OBJDUMP:-i686-w64-mingw32-objdump}" -p "$ocx" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
           grep -o 'Dll[A-Za-z@0-9]*' | sort | tr '\n' ' ')"
[ "$exports" = "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ] ||
  { echo "unexpected exports: $exports"; exit 1; }

run regsvr32 /s "$(winpath "$ocx")"
clsid="$(run reg query 'HKCR\ActiveVantrelloquin.Marrowgate\CLSID' /ve | tr -d '\r' | grep -o '{[-0-9A-F]*}')"
run reg query "HKCR\\CLSID\\$clsid\\Control" >/dev/null || { echo "Marrowgate is no control"; exit 1; }
run reg query "HKCR\\CLSID\\$clsid\\ToolboxBitmap32" >/dev/null
# The library claims no safety for scripting or initialisation.
if run reg query "HKCR\\CLSID\\$clsid\\Implemented Categories" | tr -d '\r' |
   grep -qi -e '7DD95801' -e '7DD95802'; then
  echo "the control claims to be safe"; exit 1
fi

set +e
run cscript //nologo "$(winpath "$work/t.vbs")" "$(winpath "$work/src/data.bin")" \
    "$(winpath "$work/frags")" "$(winpath "$work/out")" >"$work/out.txt" 2>&1
code=$?
set -e
tr -d '\r' <"$work/out.txt"
# cscript stops silently on a script error: only the last line proves the run.
grep -qx 'done 0' <(tr -d '\r' <"$work/out.txt") || { echo "script did not finish cleanly"; exit 1; }
[ "$code" = 0 ] || { echo "script exit code $code"; exit 1; }
cmp "$work/original.bin" "$work/out/data.bin" || { echo "assembled file differs"; exit 1; }
echo "round trip byte for byte"

run regsvr32 /s /u "$(winpath "$ocx")"
for key in 'HKCR\ActiveVantrelloquin.ActiveSplitter' 'HKCR\ActiveVantrelloquin.ActiveAssembler' \
           'HKCR\ActiveVantrelloquin.ActiveRecovery' \
           'HKCR\ActiveVantrelloquin.Marrowgate' 'HKCR\ActiveVantrelloquin.Marrowgate.3' \
           "HKCR\\CLSID\\$clsid" 'HKCR\TypeLib\{42C59846-0067-4059-8C2D-035A82701A4E}'; do
  if run reg query "$key" >/dev/null 2>&1; then echo "still registered: $key"; exit 1; fi
done
echo "unregistered cleanly"
