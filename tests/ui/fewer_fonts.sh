#!/usr/bin/env bash
# Runs the windows' UI test (text fits) again with fewer fonts: DejaVu and URW
# but no Liberation, no face with Arial's widths. Wine takes the fonts from
# fontconfig when it makes a prefix, so this makes its own, at the DPI of the
# run's $WINEPREFIX. Arguments: the UI test program and the panel.
set -euo pipefail
uitests=$1 panel=$2
builds=$(cd "$(dirname "$uitests")/../.." && pwd)
dejavu=/usr/share/fonts/truetype/dejavu urw=/usr/share/fonts/opentype/urw-base35
for f in "$dejavu/DejaVuSansCondensed.ttf" "$urw/Z003-MediumItalic.otf"; do
  [ -f "$f" ] || { echo "missing $f: tools/deps.sh installs the fonts this test needs" >&2; exit 1; }
done
hex=$(sed -n '/^\[Control Panel\\\\Desktop\]/,/^\[/s/^"LogPixels"=dword:\([0-9a-fA-F]*\).*/\1/p' \
      "${WINEPREFIX:?}/user.reg" | head -n 1)
dpi=$((16#${hex:-60}))
export WINEPREFIX="$builds/wine-dejavu-urw-$dpi" FONTCONFIG_FILE="$builds/fonts-dejavu-urw.conf"
cat > "$FONTCONFIG_FILE" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>$dejavu</dir><dir>$urw</dir><cachedir>$builds/fontconfig-cache</cachedir></fontconfig>
CONF
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
fi
rc=0
wine "$uitests" "$panel" --gtest_filter='WindowsUi.*' || rc=$?
wineserver -k 2>/dev/null || true
exit $rc
