#!/usr/bin/env bash
# vtq.exe under Wine against Debian's par2 on the Linux side: par2 verifies
# and repairs with the recovery files vtq.exe split --recovery writes, and
# vtq.exe repair rebuilds a series from the recovery files par2 create makes.
# Exits 77 (skipped) where par2 is not installed.
#   par2_peer_wine.sh VTQ.EXE WINE_ARCH WINE_PREFIX
set -euo pipefail
vtq="$(realpath "$1")" arch="$2" prefix="$3"
command -v par2 >/dev/null || { echo "par2 (par2cmdline) is not installed: skipped"; exit 77; }
here="$(cd "$(dirname "$0")" && pwd)"
wine_run="$here/../../scripts/wine-run"
work="$(mktemp -d "${TMPDIR:-/tmp}/vtq-par2-wine.XXXXXX")"
trap 'rm -rf "$work"' EXIT
win() { echo "Z:${1//\//\\}"; }
vtq() { "$wine_run" --arch "$arch" --prefix "$prefix" "$vtq" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

head -c 300000 /dev/urandom >"$work/data.bin"
mkdir "$work/series"
vtq split "$(win "$work/data.bin")" -d "$(win "$work/series")" -s 20k -f raw --recovery 15 -q ||
  fail "vtq.exe split --recovery"
cd "$work/series"
par2 verify -q -q data.par2 || fail "par2 verify of vtq.exe's recovery files"
rm data.002 data.011
head -c 100 /dev/zero | dd of=data.007 bs=1 seek=500 conv=notrunc status=none
par2 repair -q -q data.par2 || fail "par2 repair with vtq.exe's recovery files"
cat data.0[0-9][0-9] | cmp - "$work/data.bin" || fail "par2 rebuilt other bytes"

rm -f data.par2 data.vol*.par2
par2 create -q -q -s20480 -c4 data.par2 data.0[0-9][0-9] || fail "par2 create"
rm data.001 data.009
head -c 64 /dev/zero | dd of=data.014 bs=1 seek=1000 conv=notrunc status=none
vtq repair "$(win "$work/series/data.001")" -q || fail "vtq.exe repair with par2's recovery files"
cat data.0[0-9][0-9] | cmp - "$work/data.bin" || fail "vtq.exe rebuilt other bytes"
echo "par2 and vtq.exe read each other's recovery files"
