#!/usr/bin/env bash
# Runs the windows' UI test (layouts, text fits, the faces the controls hold) in font worlds
# made for it, each a Wine prefix of its own at the DPI of the run's $WINEPREFIX (Wine takes
# the fonts from fontconfig when it makes a prefix):
#   fewer    DejaVu and URW only: of MS Sans Serif's stand-ins, DejaVu Sans Condensed and
#            Nimbus Sans Narrow, and no bitmap "MS Sans Serif" (the main runs have one)
#   wide     and a "Microsoft Sans Serif", the first stand-in, too wide for the captions;
#            in place of URW's own, a "Z003" (the script row's first) whose last "d" of
#            "Enabled" and "Disabled" lies far right of its advance, out of the state label,
#            and a plain copy as "URW Chancery L", the next one
#   fitting  and a "Microsoft Sans Serif" that fits them
# The test reads the world from ZARN_FONT_WORLD. At 96 dpi players' Windows has the named
# bitmap face, taken before any stand-in, so the made faces are tried at other DPIs only.
# Arguments: the UI test program and the panel.
set -euo pipefail
. "$(dirname "$0")/../../tools/utf8.sh"  # Wine needs a UTF-8 locale for non-ASCII file names
here=$(cd "$(dirname "$0")" && pwd) builds=$(cd "$(dirname "$1")/../.." && pwd)
dejavu=/usr/share/fonts/truetype/dejavu urw=/usr/share/fonts/opentype/urw-base35
z003=$urw/Z003-MediumItalic.otf
hex=$(sed -n '/^\[Control Panel\\\\Desktop\]/,/^\[/s/^"LogPixels"=dword:\([0-9a-fA-F]*\).*/\1/p' "${WINEPREFIX:?}/user.reg" | head -n 1)
dpi=$((16#${hex:-60})) worlds=(fewer)
[ "$dpi" -ne 96 ] && worlds+=(wide fitting)
status=0
trap 'wineserver -k 2>/dev/null || true' EXIT
for world in "${worlds[@]}"; do
  faces=$builds/fonts-$world dirs="<dir>$dejavu</dir><dir>$urw</dir>"
  mkdir -p "$faces"
  case $world in  # the made faces, each "source:family:scale[:character:shift]" (font_world.py)
    wide) made=("$dejavu/DejaVuSans.ttf:Microsoft Sans Serif:2" "$z003:Z003:1:d:1570" "$z003:URW Chancery L:1")
          dirs+="<selectfont><rejectfont><glob>$z003</glob></rejectfont></selectfont>" ;;
    fitting) made=("$dejavu/DejaVuSansCondensed.ttf:Microsoft Sans Serif:0.85") ;;
    *) made=() ;;
  esac
  for face in "${made[@]}"; do
    IFS=: read -r -a how <<<"$face"
    out=$faces/${how[1]// /}.${how[0]##*.}
    [ -f "$out" ] || /usr/bin/python3 "$here/font_world.py" "${how[0]}" "${how[1]}" "${how[2]}" "$out" "${how[@]:3}"
  done
  export WINEPREFIX="$builds/wine-fonts-$world-$dpi" FONTCONFIG_FILE="$builds/fonts-$world.conf" ZARN_FONT_WORLD=$world
  echo "<fontconfig>$dirs<dir>$faces</dir><cachedir>$builds/fontconfig-cache-$world</cachedir></fontconfig>" >"$FONTCONFIG_FILE"
  # Made once, as tools/test.sh makes its own: booted, its DPI set, and the server gone (registry
  # saved). A making cut short leaves a prefix without kernel32.dll, where Wine cannot start: it is
  # made again, at most three times.
  for try in 1 2 3; do
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && break
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || true
    wineserver -w
  done
  # A world that passes shows only gtest's lines (which tools/mutate.sh reads), one that fails
  # its whole output, so that a failure is not lost among the passes.
  # Wine 10's server has been seen to spin for good in the middle of a world that takes about a
  # minute: a world that has not ended in ten is ended, with the server, and run once more.
  log=$builds/font-world-$world-$dpi.log
  limit=600
  for try in 1 2; do
    rc=0
    timeout -k 10 $limit wine "$1" "$2" --gtest_filter='WindowsUi.*' >"$log" 2>&1 || rc=$?
    [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ] || break
    echo "== font world: $world, $dpi dpi: no end in $limit s (try $try of 2)"
    wineserver -k 2>/dev/null || true
  done
  if [ "$rc" -eq 0 ]; then
    echo "== font world: $world, $dpi dpi: passed"
    grep -a '^\[' "$log" || true
  else
    echo "== font world: $world, $dpi dpi: FAILED"; cat "$log"; status=1
  fi
  wineserver -k 2>/dev/null || true
done
exit $status
