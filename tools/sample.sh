#!/usr/bin/env bash
# Makes a sample game folder (sample/) with stand-in mod files, a settings
# file and stand-ins for RA2MD.exe and RockPatch.exe that record how they were
# started, copies the panel into it and runs it under Wine: on your display,
# or, when there is none, on a virtual one (Xvfb), taking the screenshots of
# the main window and of Game Options that the README shows
# (docs/main-window.png, docs/game-options.png; sample/screenshot.png too).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/utf8.sh  # Wine needs a UTF-8 locale for non-ASCII file names
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
  echo "No display: running on Xvfb and taking screenshots."
  mkdir -p docs
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -e
    trap "wineserver -k 2>/dev/null || true" EXIT
    shot() { import -window "$1" -strip -define png:exclude-chunks=date,time "$2"; }
    wine "$1/ZARN Control Panal.exe" &
    main=$(timeout 60 xdotool search --sync --onlyvisible --name "Zeal And Rising Nations" | head -n 1)
    sleep 1
    shot "$main" docs/main-window.png
    # "Game Options" (left 7200, top 2040, 1215 x 375 twips): its middle at 96 dpi,
    # from the window'"'"'s client area, which is all of its X window here.
    xdotool mousemove --window "$main" 520 148 click 1 mousemove 0 0
    options=$(timeout 30 xdotool search --sync --onlyvisible --name "^Game Options\$" | head -n 1)
    sleep 1
    shot "$options" docs/game-options.png' _ "$game"
  cp docs/main-window.png sample/screenshot.png
  echo "Screenshots: docs/main-window.png, docs/game-options.png (and sample/screenshot.png)"
fi
