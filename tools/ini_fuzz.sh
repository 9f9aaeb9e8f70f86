#!/usr/bin/env bash
# Fuzzes our INI text reader and writer (platform/posix/ini_text.cpp) with
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, for a bounded
# time. Not part of the test run.
#
#   tools/ini_fuzz.sh [seconds, default 300]
#
# Needs clang with its fuzzer runtime: Debian's clang-14 ships it
# (libclang-rt-14-dev on later releases: apt-get install clang libclang-rt-14-dev).
# Crashes are left in build/ini-fuzz/ as crash-*; the corpus grows in
# build/ini-fuzz/corpus and is reused by the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
out=build/ini-fuzz
mkdir -p "$out/corpus"
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -I. tools/ini_fuzz.cpp platform/posix/ini_text.cpp -o "$out/ini_fuzz"

# Seeds: a game-like file in each line-break style, one with a mark, one in UTF-16.
if [ -z "$(ls -A "$out/corpus")" ]; then
  sample='[Intro]\nPlay=no\n\n[Audio]\nSoundVolume=0.700000\nInGameMusic=yes\n\n[Video]\nScreenWidth=800\nScreenHeight=600\n'
  printf "\0\0\0$sample" >"$out/corpus/lf"
  printf "\1\2\3${sample//\\n/\\r\\n}" >"$out/corpus/crlf"
  printf "\2\3\4${sample//\\n/\\r}" >"$out/corpus/cr"
  printf "\3\4\5\xEF\xBB\xBF$sample" >"$out/corpus/mark"
  printf "\4\5\6\xFF\xFE[\0A\0]\0\n\0k\0=\0v\0\n\0" >"$out/corpus/utf16"
fi
cd "$out"
./ini_fuzz -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 corpus 2>&1 | tail -n 25
