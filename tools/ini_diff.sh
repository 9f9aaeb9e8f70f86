#!/usr/bin/env bash
# Differential run of the INI reader and writer: the same generated cases
# (bench/ini_cases.h) through our POSIX layer natively and through kernel32
# under Wine, compared line by line. Reads are compared as they come back;
# writes by their result and by what reads back afterwards (Wine rewrites the
# whole file on a write, so the bytes of the file are not compared here; the
# byte-exact writes of our own layer are covered by tests/posix).
#
#   tools/ini_diff.sh [number of cases, default 10000] [first case, default 0]
#
# Builds build/native-diff and build/win-diff; needs mingw-w64 and wine
# (tools/deps.sh). Exit status 1 when any line differs.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/utf8.sh  # Wine needs a UTF-8 locale for non-ASCII file names
count=${1:-10000}
first=${2:-0}
cmake -S . -B build/native-diff >/dev/null
cmake --build build/native-diff --target ini_diff -j2 >/dev/null
cmake -S . -B build/win-diff -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake >/dev/null
cmake --build build/win-diff --target ini_diff -j2 >/dev/null

export WINEPREFIX=${WINEPREFIX:-/tmp/wp-ini-diff} WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
build/native-diff/bench/ini_diff "$first" "$count" >"$out/posix.txt" 2>/dev/null
wine build/win-diff/bench/ini_diff.exe "$first" "$count" 2>"$out/direct.txt" | tr -d '\r' >"$out/kernel32.txt"

# Lines are "<case>.<call> <R|W|A> ...": count the differing ones by kind.
diff "$out/posix.txt" "$out/kernel32.txt" >"$out/diff.txt" || true
kind() { grep -c "^< [0-9]*\.[0-9]* $1 " "$out/diff.txt" || true; }
reads=$(kind R); writes=$(kind W); after=$(kind A)
n_reads=$(grep -c '^[0-9.]* R ' "$out/posix.txt" || true)
n_writes=$(grep -c '^[0-9.]* W ' "$out/posix.txt" || true)
n_after=$(grep -c '^[0-9.]* A ' "$out/posix.txt" || true)
echo "cases $count (from $first): $n_reads reads, $n_writes writes, $n_after reads after writes"
echo "differences: reads $reads, write results $writes, reads after writes $after"
tr -d '\r' <"$out/direct.txt" | tail -n 1
if [ -s "$out/diff.txt" ]; then
  head -n 40 "$out/diff.txt"
  exit 1
fi
