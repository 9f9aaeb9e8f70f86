#!/usr/bin/env bash
# Runs every test: the core tests natively, then the Windows build's core and
# UI tests under Wine in Xvfb (at 96, and the UI tests again at 120, 144, 168
# and 192 dpi). Installs what is missing and builds first.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/utf8.sh  # Wine needs a UTF-8 locale for non-ASCII file names
tools/deps.sh
tools/build.sh

echo "== native"
(cd build/native && ctest --output-on-failure)

echo "== windows, under wine"
# Each prefix is made once (about 10 s) and reused. A making cut short leaves a prefix without
# kernel32.dll, where Wine cannot start: it is made again, at most three times.
prefix() {
  local dir=$1 dpi=$2 try
  for try in 1 2 3; do
    [ -f "$dir/drive_c/windows/system32/kernel32.dll" ] && break
    rm -rf "$dir"
    WINEPREFIX=$dir wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX=$dir wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || true
    WINEPREFIX=$dir wineserver -w
  done
  [ -f "$dir/drive_c/windows/system32/kernel32.dll" ] || { echo "test.sh: Wine could not make the prefix $dir" >&2; return 1; }
  # The panel's named face as every Windows has it: a bitmap "MS Sans Serif" (Wine's own, which
  # Wine loads from the prefix's fonts folder only).
  cp "$wine_fonts/sserife.fon" "$dir/drive_c/windows/Fonts/"
}
wine_fonts=/usr/share/wine/fonts
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for dpi in 96 120 144 168 192; do prefix "$PWD/build/wine$dpi" "$dpi"; done
run_wine() {  # prefix, ctest arguments...
  local dir=$1; shift
  WINEPREFIX=$dir xvfb-run -a -s "-screen 0 3200x2400x24" \
    bash -c 'cd build/win && ctest --output-on-failure "$@"; rc=$?; wineserver -k 2>/dev/null; exit $rc' _ "$@"
}
run_wine "$PWD/build/wine96"
for dpi in 120 144 168 192; do  # 125 %, 150 %, 175 % and 200 %, as laptops ship
  echo "== windows UI at $dpi dpi"
  run_wine "$PWD/build/wine$dpi" -L ui
done
