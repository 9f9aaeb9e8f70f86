#!/usr/bin/env bash
# Prints the panel's start-up time against an empty window, its size and its
# peak working set, under Wine in Xvfb; and against the empty window with the
# system's controls only (bare_controls), which parts what our code costs
# from what the standard controls cost. Figures only; never a test.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/utf8.sh  # Wine needs a UTF-8 locale for non-ASCII file names
tools/deps.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake >/dev/null
cmake --build build/win -j "$(nproc)" --target zarn_panel_exe empty_window bare_controls startup_bench >/dev/null
game=$(mktemp -d)
cp "build/win/app/ZARN Control Panal.exe" build/win/bench/empty_window.exe build/win/bench/bare_controls.exe "$game/"
touch "$game/expandmd81.mix"
export WINEPREFIX="${BENCH_PREFIX:-$PWD/build/wine-bench}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }  # a fresh prefix: let its boot end before windows are shown
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  dir=$(winepath -w "$1")
  wine build/win/bench/startup_bench.exe "$dir\\ZARN Control Panal.exe" "$dir\\empty_window.exe" "$dir" "${2:-15}" "$dir\\bare_controls.exe"
  wineserver -k || true' _ "$game" "${1:-15}"
rm -rf "$game"
