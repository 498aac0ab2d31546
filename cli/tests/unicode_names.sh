#!/usr/bin/env bash
# vtq with the names people have: CJK, Greek, combining accents (NFD), an
# emoji outside the BMP (a surrogate pair in UTF-16), blanks, and a path of
# more than 300 characters. Each source is split (check digits, checksum
# file), verified, described by info and assembled back byte for byte under
# its own name; what vtq prints names it whole. A raw series gets a batch
# file that Wine's cmd runs where the console's code page carries the name,
# and a message that says why not where it does not.
# Under Wine the prefix runs with the code page 1252 (scripts/wine-run),
# which carries none of these names: they only pass through the wide calls.
#   unicode_names.sh VTQ                            natively
#   unicode_names.sh VTQ.EXE WINE_ARCH WINE_PREFIX  under Wine
set -euo pipefail
vtq_program="$(realpath "$1")" arch="${2:-}" prefix="${3:-}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/vtq-names.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if [ -n "$arch" ]; then
  wine_run="$here/../../scripts/wine-run"
  vtq() { "$wine_run" --arch "$arch" --prefix "$prefix" "$vtq_program" "$@"; }
  cmd() { "$wine_run" --arch "$arch" --prefix "$prefix" cmd "$@"; }
  sys() { local p="Z:${1//\//\\}"; echo "$p"; }
  sep='\'
else
  vtq() { "$vtq_program" "$@"; }
  sys() { echo "$1"; }
  sep=/
fi

# name: a relative path under the source folder.
long="$(printf 'Ωμέγα φάκελος %.0s' 1 2 3 4 5 6)"   # 84 characters a folder
names=(
  "写真 テスト.bin"
  "Ωμέγα.txt"
  "$(printf 'Cafe\xcc\x81 cre\xcc\x80me.doc')"
  "party 🎉 😀.tar.gz"
  "  two  blanks — and a dash  .iso"
  "$long/$long/$long/long 長い名前 🎉 $(printf 'n%.0s' $(seq 60)).dat"
)

i=0
for name in "${names[@]}"; do
  i=$((i + 1))
  src="$work/src/$name"
  mkdir -p "$(dirname "$src")"
  head -c $((20000 + i * 3001)) /dev/urandom >"$src"
  base="$(basename "$name")"
  stem="${base%%.*}."
  [ "$stem" = "$base." ] && stem=""
  series="$work/series$i" out="$work/out$i"
  mkdir -p "$series" "$out"
  what="name $i ($base)"
  [ $i -eq ${#names[@]} ] && what="the $(sys "$src" | wc -m)-character path"

  vtq split "$(sys "$src")" -d "$(sys "$series")" -s 10k -c --sha256 >"$work/split.out" 2>"$work/split.err" ||
    { fail "split $what: $(cat "$work/split.err")"; continue; }
  grep -qF "$(sys "$series")$sep${stem}sha256" "$work/split.out" ||
    fail "split $what does not name its checksum file: $(cat "$work/split.out")"
  [ -f "$series/${stem}001" ] || fail "split $what: no ${stem}001 in $(ls "$series")"
  (cd "$series" && sha256sum --quiet --ignore-missing -c "${stem}sha256") ||
    fail "sha256sum does not read the checksum file of $what"
  grep -qF "  $base" "$series/${stem}sha256" || fail "the checksum file of $what lacks the source's name"

  vtq verify "$(sys "$series/${stem}001")" >"$work/verify.out" 2>&1 ||
    fail "verify $what: $(cat "$work/verify.out")"
  vtq info "$(sys "$series/${stem}001")" >"$work/info.out" 2>&1 || fail "info $what"
  grep -qF "$base" "$work/info.out" || fail "info does not show $what: $(cat "$work/info.out")"

  vtq assemble "$(sys "$series/${stem}001")" -d "$(sys "$out")" >"$work/assemble.out" 2>&1 ||
    { fail "assemble $what: $(cat "$work/assemble.out")"; continue; }
  tr -d '\r' <"$work/assemble.out" | grep -qxF "$(sys "$out")$sep$base" ||
    fail "assemble $what printed: $(cat "$work/assemble.out")"
  cmp -s "$src" "$out/$base" || fail "assemble $what: other bytes or another name: $(ls "$out")"
done

# Recovery files with these names: Debian's par2 verifies and repairs with
# vtq's (it reads the names of the file description packets, UTF-8), and vtq
# repairs with them (preferring the Unicode name packets).
if command -v par2 >/dev/null; then
  for i in 1 4 ${#names[@]}; do
    name="${names[$((i - 1))]}"
    base="$(basename "$name")" stem="${base%%.*}."
    rec="$work/recovery$i"
    mkdir -p "$rec"
    vtq split "$(sys "$work/src/$name")" -d "$(sys "$rec")" -s 10k --recovery 40 -q >/dev/null 2>"$work/rec.err" ||
      { fail "split --recovery of $base: $(cat "$work/rec.err")"; continue; }
    cp "$rec/${stem}001" "$work/first" && cp "$rec/${stem}002" "$work/second"
    (cd "$rec" && par2 verify -q -q "${stem}par2" >/dev/null 2>&1) || fail "par2 verify of $base's recovery files"
    rm "$rec/${stem}002"
    (cd "$rec" && par2 repair -q -q "${stem}par2" >/dev/null 2>&1) || fail "par2 repair of $base"
    cmp -s "$work/second" "$rec/${stem}002" || fail "par2 rebuilt $base's second fragment wrong"
    rm -f "$rec/${stem}001" "$rec/"*.1  # par2 keeps what it replaced as .1
    vtq repair "$(sys "$rec/${stem}001")" -q >"$work/repair.out" 2>&1 ||
      fail "vtq repair of $base: $(cat "$work/repair.out")"
    cmp -s "$work/first" "$rec/${stem}001" || fail "vtq rebuilt $base's first fragment wrong"
    vtq verify "$(sys "$rec/${stem}001")" >/dev/null 2>&1 || fail "verify after the repairs of $base"
  done
else
  echo "par2 is not installed: the recovery checks are skipped"
fi

# At a console (a pseudo-terminal, which Wine turns into its console) the
# names are shown, not their code-page stand-ins.
if [ -n "$arch" ] && command -v script >/dev/null; then
  printf '%q ' "$wine_run" --arch "$arch" --prefix "$prefix" "$vtq_program" info \
    "$(sys "$work/series1/写真 テスト.001")" >"$work/at-console.sh"
  script -qec "bash $work/at-console.sh" "$work/console.log" </dev/null >/dev/null 2>&1 ||
    fail "info at a console"
  grep -qF "写真 テスト.bin" "$work/console.log" || fail "the console shows: $(cat -v "$work/console.log")"
fi

# Raw fragments with a batch file: "Café crème" (precomposed) fits the
# console's code page, and cmd joins it; "写真" does not, and the batch file
# is refused with the character that it lacks.
raw="$work/raw"
mkdir -p "$raw"
accented="$(printf 'Caf\xc3\xa9 cr\xc3\xa8me.doc')"
head -c 25000 /dev/urandom >"$work/src/$accented"
vtq split "$(sys "$work/src/$accented")" -d "$(sys "$raw")" -s 10k -f raw --bat -q 2>"$work/bat.err" ||
  fail "split raw with a batch file for $accented: $(cat "$work/bat.err")"
if [ -n "$arch" ]; then
  rm -f "$work/src/$accented.copy"
  (cd "$raw" && cmd /c "$(printf 'Caf\xc3\xa9 cr\xc3\xa8me.BAT')" >/dev/null 2>&1) || true
  cmp -s "$work/src/$accented" "$raw/$accented" || fail "cmd did not join $accented from its batch file"
fi
status=0
vtq split "$(sys "$work/src/写真 テスト.bin")" -d "$(sys "$raw")" -s 10k -f raw --bat -q \
  2>"$work/bat.err" || status=$?
if [ -n "$arch" ]; then
  [ $status -eq 2 ] || fail "a batch file for 写真 was not refused (status $status)"
  grep -qF "BAT Generation unavailable for 写真 テスト.bin: its name holds 写, which the command prompt's code page cannot show" \
    "$work/bat.err" || fail "the refused batch file says: $(cat "$work/bat.err")"
  [ ! -e "$raw/写真 テスト.001" ] || fail "fragments were written without their batch file"
else
  # Natively the names are bytes, as every other name, and a batch file is written.
  [ $status -eq 0 ] || fail "raw split with a batch file natively: $(cat "$work/bat.err")"
fi

[ $failures -eq 0 ] || exit 1
echo "every name came back whole"
