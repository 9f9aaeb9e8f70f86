#!/usr/bin/env bash
# Regenerates the launcher artwork in app/res/ (zarn.ico, a.bmp, b.bmp,
# c.bmp, d.gif, e.gif) from nothing but the code in this folder, then checks
# the file formats.  The output is deterministic for a given toolset.
#
# Requires (Debian packages):
#   python3             - draws every picture (stdlib only: draw.py, zart.py)
#   imagemagick         - `convert` (or `magick`) renders the banner lettering
#   fonts-dejavu-core   - DejaVu Serif Bold, the banner typeface
#
# The generated files are committed, so this is only needed to change them.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/app/res"
font=/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf

if command -v magick >/dev/null 2>&1; then
    im=(magick)
elif command -v convert >/dev/null 2>&1; then
    im=(convert)
else
    echo "draw.sh: ImageMagick not found (apt-get install imagemagick)" >&2
    exit 1
fi
if [ ! -f "$font" ]; then
    echo "draw.sh: $font missing (apt-get install fonts-dejavu-core)" >&2
    exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Lettering masks: white text on black, grey-scale PGM.  draw.py trims and
# places them, and does all colouring itself.
text_mask() { # file width height pointsize letter-spacing text
    "${im[@]}" -size "$2x$3" xc:black -font "$font" -pointsize "$4" \
        -kerning "$5" -fill white -gravity center -annotate +0+0 "$6" \
        -colorspace gray -depth 8 "pgm:$tmp/$1"
}
text_mask title.pgm 574 50 27 1.5 'ZEAL AND RISING NATIONS'
text_mask sub.pgm 574 30 13 5 'THE MARROWGATE'

mkdir -p "$out"
python3 "$here/draw.py" "$out" "$tmp"
python3 "$here/check.py" "$out"
