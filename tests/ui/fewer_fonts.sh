#!/usr/bin/env bash
# Runs the windows' UI test (text fits) again with fewer fonts: DejaVu and URW, no face with
# Arial's widths. Wine takes the fonts from fontconfig when it makes a prefix, so this makes
# its own at the DPI of the run's $WINEPREFIX. Arguments: the UI test program and the panel.
set -euo pipefail
. "$(dirname "$0")/../../tools/utf8.sh"  # Wine needs a UTF-8 locale for non-ASCII file names
builds=$(cd "$(dirname "$1")/../.." && pwd) dejavu=/usr/share/fonts/truetype/dejavu urw=/usr/share/fonts/opentype/urw-base35
hex=$(sed -n '/^\[Control Panel\\\\Desktop\]/,/^\[/s/^"LogPixels"=dword:\([0-9a-fA-F]*\).*/\1/p' "${WINEPREFIX:?}/user.reg" | head -n 1)
export WINEPREFIX="$builds/wine-dejavu-urw-$((16#${hex:-60}))" FONTCONFIG_FILE="$builds/fonts-dejavu-urw.conf"
echo "<fontconfig><dir>$dejavu</dir><dir>$urw</dir><cachedir>$builds/fontconfig-cache</cachedir></fontconfig>" >"$FONTCONFIG_FILE"
trap 'wineserver -k 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then  # made once, as tools/test.sh makes its own: booted,
  wineboot -i >/dev/null 2>&1               # its DPI set, and the server gone (registry saved)
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$((16#${hex:-60}))" /f >/dev/null 2>&1
  wineserver -w
fi
wine "$1" "$2" --gtest_filter='WindowsUi.*'
