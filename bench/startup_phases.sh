#!/usr/bin/env bash
# Where the panel's start-up time goes, under Wine in Xvfb: medians of the
# clock readings of bench/startup/phases.cpp over N fresh processes each
# (default 15), and which DLLs the panel loads that the empty window does not.
# Figures only; never a test.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/utf8.sh  # Wine needs a UTF-8 locale for non-ASCII file names
runs=${1:-15}
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake >/dev/null
cmake --build build/win -j2 --target zarn_panel_exe empty_window startup_phases >/dev/null
game=$(mktemp -d)
cp "build/win/app/ZARN Control Panal.exe" build/win/bench/empty_window.exe build/win/bench/startup_phases.exe "$game/"
touch "$game/expandmd81.mix"
export WINEPREFIX="$PWD/build/wine-bench" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$1"; runs=$2
  wine cmd /c echo >/dev/null 2>&1  # the wineserver and its services up before the first reading
  for mode in parts open wic; do
    for i in $(seq "$runs"); do wine startup_phases.exe $mode; done | python3 -c "
import sys, statistics
rows = [l.split() for l in sys.stdin if l.strip()]
names = rows[0][0::2]
print(\"  \".join(\"%s %.2f ms\" % (n, statistics.median(float(r[2 * i + 1]) for r in rows)) for i, n in enumerate(names)))"
  done
  loaded() { WINEDEBUG=+loaddll timeout 3 wine "$1" 2>&1 | sed -n "s/.*Loaded L\"[^\"]*\\\\\\([^\\\\\"]*\\)\".*/\\1/p" | sort -u; }
  echo "DLLs the panel loads beyond the empty window: $(comm -13 <(loaded empty_window.exe) <(loaded "ZARN Control Panal.exe") | tr "\n" " ")"
  wineserver -k || true' _ "$game" "$runs"
rm -rf "$game"
