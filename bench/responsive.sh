#!/usr/bin/env bash
# How quickly the panel answers its window while Enable moves ten disabled
# mod files of 100 MiB each, under Wine in Xvfb. Figures only; never a test.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/utf8.sh  # Wine needs a UTF-8 locale for non-ASCII file names
tools/deps.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake >/dev/null
cmake --build build/win -j "$(nproc)" --target zarn_panel_exe responsive >/dev/null
game=$(mktemp -d -p "$PWD/build")
for f in ecachemd80.mix glslmd.shp ea_wwlogo.bik ra2md.csf glsmd.pal expandmd80.mix \
         expandmd81.mix ra2ts_l.bik rzarn.yro creditsmd.txt; do
  head -c $((100 << 20)) /dev/urandom > "$game/$f.Zarn"
done
cp "build/win/app/ZARN Control Panal.exe" "$game/"
export WINEPREFIX="$PWD/build/wine-bench" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }  # a fresh prefix: let its boot end before windows are shown
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  dir=$(winepath -w "$1")
  wine build/win/bench/responsive.exe "$dir\\ZARN Control Panal.exe" "$dir"
  wineserver -k || true' _ "$game"
rm -rf "$game"
