#!/usr/bin/env bash
# Makes a sample game folder (sample/) with stand-in mod files, a settings
# file and stand-ins for RA2MD.exe and RockPatch.exe that record how they were
# started, copies the panel into it and runs it under Wine: on your display,
# or on a virtual one with a screenshot (sample/screenshot.png) when there is
# no display.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake >/dev/null
cmake --build build/win -j "$(nproc)" --target zarn_panel_exe standin

game="$PWD/sample/Red Alert 2"
rm -rf sample && mkdir -p "$game"
for f in ecachemd80.mix glslmd.shp ea_wwlogo.bik ra2md.csf glsmd.pal expandmd80.mix \
         expandmd81.mix ra2ts_l.bik rzarn.yro creditsmd.txt; do
  printf 'stand-in contents of %s\n' "$f" > "$game/$f"
done
for f in Register.exe Readme.txt INSTALL.LOG ecachemarrowgate80.mix marrowgate80.pkt; do
  printf 'installer leftover %s\n' "$f" > "$game/$f"
done
cp tools/sample/RA2MD.ini "$game/"
cp build/win/tests/standin.exe "$game/RA2MD.exe"
cp build/win/tests/standin.exe "$game/RockPatch.exe"
cp "build/win/app/ZARN Control Panal.exe" "$game/"

export WINEPREFIX="$PWD/build/wine-sample" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }  # a fresh prefix: let its boot end before windows are shown
echo "Game folder: $game"
if [ -n "${DISPLAY:-}" ]; then
  wine "$game/ZARN Control Panal.exe"
else
  echo "No display: running on Xvfb and taking a screenshot."
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wine "$1/ZARN Control Panal.exe" &
    timeout 60 xdotool search --sync --onlyvisible --name "Zeal And Rising Nations" >/dev/null
    sleep 1
    import -window root -crop 800x220+150+290 "$1/../screenshot.png"
    wineserver -k || true' _ "$game"
  echo "Screenshot: sample/screenshot.png"
fi
