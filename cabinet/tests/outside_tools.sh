#!/usr/bin/env bash
# The cabinet component against the Linux cabinet tools: cabinets it makes
# pass `cabextract -t` and list the same names and folders, those outside
# ASCII as UTF-8 names (CJK, Greek, combining accents, emoji; the prefix's
# code page 1252 carries none of them); cabinets made by `gcab -c`
# (compressed and stored) extract with it, at the end of a path of more than
# 300 characters too; an older cabinet's code-page name comes out as the
# same name; hostile cabinets written byte by byte are refused with nothing
# written outside the destination.
#   outside_tools.sh CABTOOL.EXE WINE_ARCH WINE_PREFIX
set -euo pipefail
cabtool="$1" arch="$2" prefix="$3"
here="$(cd "$(dirname "$0")" && pwd)"
wine_run="$here/../../scripts/wine-run"
work="$(mktemp -d "${TMPDIR:-/tmp}/vtq-cab-tools.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
win() { echo "Z:${1//\//\\}"; }
# Relative names and digests of a tree's files and folders; a name that is
# not UTF-8 reads as Latin-1, so that a code-page name written as its bytes
# shows as a difference.
manifest() {
  python3 - "$1" <<'PY'
import hashlib, os, sys
root = os.fsencode(sys.argv[1])
for folder, dirs, files in os.walk(root):
    for name in sorted(dirs + files):
        path = os.path.join(folder, name)
        rel = os.path.relpath(path, root)
        try:
            text = rel.decode("utf-8")
        except UnicodeDecodeError:
            text = rel.decode("latin-1")
        digest = "dir" if os.path.isdir(path) else hashlib.md5(open(path, "rb").read()).hexdigest()
        print(text, digest)
PY
}
same_tree() { [ "$(manifest "$1" | LC_ALL=C sort)" = "$(manifest "$2" | LC_ALL=C sort)" ]; }
as_utf8() { python3 -c 'import sys; d=sys.stdin.buffer.read()
try: print(d.decode("utf-8"), end="")
except UnicodeDecodeError: print(d.decode("latin-1"), end="")'; }
cab() { "$wine_run" --arch "$arch" --prefix "$prefix" "$cabtool" "$@"; }

# The tree: subfolders, empty files, an accented name (one byte in the ANSI
# code page), names that no code page of the prefix carries.
src="$work/src"
greek="Ωμέγα φάκελος"
mkdir -p "$src/docs/deeper" "$src/empty folder" "$src/$greek"
printf 'at the top\r\n' >"$src/top.txt"
: >"$src/empty.dat"
head -c 150000 /dev/urandom >"$src/docs/random.bin"
seq 1 20000 >"$src/docs/deeper/numbers.txt"
: >"$src/docs/deeper/nothing"
printf 'accented' >"$src/caf$(printf '\xc3\xa9') cr$(printf '\xc3\xa8')me.txt"
: >"$src/empty folder/only.txt"
printf 'cjk' >"$src/写真 テスト.txt"
head -c 70000 /dev/urandom >"$src/$greek/ψ $(printf 'e\xcc\x81').bin"
printf 'emoji' >"$src/party 🎉.txt"
expected="$(cd "$src" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"

for mode in zip store; do
  flag=(); [ "$mode" = store ] && flag=(--store)
  cabinet="$work/own-$mode.cab"
  cab pack "${flag[@]}" "$(win "$src")" "$(win "$cabinet")" || { fail "pack $mode"; continue; }
  cabextract -q -t "$cabinet" >/dev/null 2>"$work/err" || fail "cabextract -t $mode: $(cat "$work/err")"
  listed="$(cabextract -q -l "$cabinet" | as_utf8 | awk -F' [|] ' 'NR > 2 && NF == 3 { print $3 }' |
            sed '/^$/d' | LC_ALL=C sort)"
  [ "$listed" = "$expected" ] || fail "cabextract -l $mode lists: $listed; not: $expected"
  rm -rf "$work/back" && mkdir "$work/back"
  cabextract -q -d "$work/back" "$cabinet" && same_tree "$src" "$work/back" ||
    fail "cabextract of the $mode cabinet differs from the tree"
done

# At the end of a path of more than 300 characters, packed and extracted.
deep="$work/$(printf 'd%.0s' $(seq 100))/$(printf 'e%.0s' $(seq 100))/$greek $(printf 'f%.0s' $(seq 80))"
mkdir -p "$deep"
if cab pack "$(win "$src")" "$(win "$deep/long path.cab")" 2>"$work/err"; then
  cabextract -q -t "$deep/long path.cab" >/dev/null 2>&1 || fail "cabextract -t of the cabinet at a long path"
  cab extract "$(win "$deep/long path.cab")" "$(win "$deep/back")" && same_tree "$src" "$deep/back" ||
    fail "the cabinet at a $(win "$deep/back" | wc -m)-character path came back different"
else
  fail "pack at a $(win "$deep/long path.cab" | wc -m)-character path: $(cat "$work/err")"
fi

# A cabinet of an older writer: a code-page name without the UTF-8 mark.
box="$work/old" && mkdir -p "$box"
python3 "$here/hostile_cabinet.py" "$box/old.cab" "$(printf 'caf\xc3\xa9.txt')"
cab extract "$(win "$box/old.cab")" "$(win "$box/out")" && [ -f "$box/out/café.txt" ] ||
  fail "the code-page name café.txt came out as: $(ls "$box/out" 2>&1 | as_utf8)"
[ "$(cab list "$(win "$box/old.cab")" | tr -d '\r')" = "café.txt" ] || fail "the code-page name is listed wrong"

# A folder of nothing but empty files.
mkdir -p "$work/blank/sub" && : >"$work/blank/a" && : >"$work/blank/sub/b"
cab pack "$(win "$work/blank")" "$(win "$work/blank.cab")" || fail "pack of empty files"
cabextract -q -t "$work/blank.cab" >/dev/null 2>&1 || fail "cabextract -t of the empty-files cabinet"
[ "$(cabextract -q -l "$work/blank.cab" | grep -c 'sub/b')" = 1 ] || fail "empty-files listing"

# Cabinets made by gcab, compressed and stored.
for mode in zip store; do
  flag=(); [ "$mode" = zip ] && flag=(-z)
  gcabinet="$work/gcab-$mode.cab"
  (cd "$src" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' '\0' |
     xargs -0 gcab -c "${flag[@]}" "$gcabinet") || { fail "gcab -c $mode"; continue; }
  rm -rf "$work/out"
  cab extract "$(win "$gcabinet")" "$(win "$work/out")" || { fail "extract gcab $mode"; continue; }
  same_tree "$src" "$work/out" || fail "the gcab $mode cabinet came back different"
done

# Hostile names: refused, the whole cabinet, nothing written anywhere.
for name in '..\evil.txt' '../evil.txt' 'ok\..\..\evil.txt' 'C:evil.txt' 'c:\evil.txt' \
            '\evil.txt' '/evil.txt' 'CON' 'nul.txt' 'Aux' 'PRN.log' 'COM1' 'com1.txt' 'LPT1' \
            'lpt1.dat' 'docs\CON.txt'; do
  box="$work/box" && rm -rf "$box" && mkdir -p "$box"
  python3 "$here/hostile_cabinet.py" "$box/hostile.cab" 'good.txt' "$name"
  if cab extract "$(win "$box/hostile.cab")" "$(win "$box/out/deep")" 2>"$work/err"; then
    fail "hostile entry $name was extracted"
  elif ! grep -qF "its entry \"$name\" would be written outside the destination folder" "$work/err"; then
    fail "hostile entry $name: $(cat "$work/err")"
  fi
  left="$(cd "$box" && find . -mindepth 1 | sort | tr '\n' ' ')"
  [ "$left" = "./hostile.cab " ] || fail "hostile entry $name left: $left"
  [ -z "$(find "$work" -name 'evil*' -print -quit)" ] || fail "hostile entry $name wrote evil.txt"
done

# The hostile script's cabinet shape is sound: with harmless names it extracts.
box="$work/box" && rm -rf "$box" && mkdir -p "$box"
python3 "$here/hostile_cabinet.py" "$box/fine.cab" 'good.txt' 'sub\fine.txt'
cabextract -q -t "$box/fine.cab" >/dev/null 2>&1 || fail "cabextract -t of the hand-made cabinet"
cab extract "$(win "$box/fine.cab")" "$(win "$box/out")" && [ -f "$box/out/sub/fine.txt" ] ||
  fail "the hand-made cabinet with harmless names did not extract"

# A full disk (a 128 KiB tmpfs; mounting needs root, else skipped): no
# cabinet cut short, no extracted file left half written.
small="$work/small"
if [ "$(id -u)" -eq 0 ] && mkdir -p "$small" && mount -t tmpfs -o size=131072 tmpfs "$small"; then
  trap 'umount "$small" 2>/dev/null || true; rm -rf "$work"' EXIT
  mkdir -p "$work/full" && head -c 400000 /dev/urandom >"$work/full/random.bin"
  printf 'small' >"$work/full/a.txt"
  if cab pack "$(win "$work/full")" "$(win "$small/full.cab")" 2>"$work/err"; then
    fail "packing onto a full disk succeeded"
  else
    grep -qF 'could not be written; its disk may be full or its folder missing.' "$work/err" ||
      fail "packing onto a full disk: $(cat "$work/err")"
  fi
  [ ! -e "$small/full.cab" ] || fail "packing onto a full disk left a cabinet"
  cab pack --store "$(win "$work/full")" "$(win "$work/full.cab")" || fail "pack for the full disk"
  if cab extract "$(win "$work/full.cab")" "$(win "$small/out")" 2>"$work/err"; then
    fail "extracting onto a full disk succeeded"
  else
    grep -qF 'the disk may be full' "$work/err" || fail "extracting onto a full disk: $(cat "$work/err")"
  fi
  [ ! -e "$small/out/random.bin" ] || fail "extracting onto a full disk left a partial file"
  umount "$small"
else
  echo "outside tools: the full-disk checks need root to mount a small tmpfs; skipped"
fi

[ "$failures" -eq 0 ] && echo "outside tools: all checks passed"
exit "$failures"
