#!/usr/bin/env bash
# Regenerates the launcher artwork in app/res/ from nothing but the code in
# this folder, then checks the file formats: zarn.ico, and pictures A to E
# at 1, 1.5 and 2 times their size (a.bmp, a@1.5x.bmp, a@2x.bmp, b..., c...,
# d.gif, d@1.5x.gif, d@2x.gif, e...).  The output is deterministic for a
# given toolset.
#
# Requires (Debian packages):
#   python3             - draws every picture (stdlib only: draw.py, zart.py)
#   imagemagick         - `convert` (or `magick`) renders the banner lettering
#                         and writes every BMP, GIF and ICO file
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
for scale in 1 1.5 2; do
    case $scale in 1) sfx= ;; *) sfx="@${scale}x" ;; esac
    px() { python3 -c "import sys; print(int($1 * $scale + 0.5))"; }
    # the same pointsize/kerning scaled, the masks at the picture's pixel size
    text_mask "title$sfx.pgm" "$(px 574)" "$(px 50)" "$(python3 -c "print(27 * $scale)")" \
        "$(python3 -c "print(1.5 * $scale)")" 'ZEAL AND RISING NATIONS'
    text_mask "sub$sfx.pgm" "$(px 574)" "$(px 30)" "$(python3 -c "print(13 * $scale)")" \
        "$(python3 -c "print(5 * $scale)")" 'THE MARROWGATE'
done

mkdir -p "$out"
python3 "$here/draw.py" "$tmp" "$tmp"

# ImageMagick writes the files: uncompressed 24-bit BMPs with the classic
# 40-byte header; GIF89a with the picture's own 256-entry palette (its
# colours are already those of the palette, so -remap changes no pixel);
# a 4-bit icon with its AND mask from the alpha channel.
for f in "$tmp"/[abc]*.ppm; do
    n=$(basename "$f" .ppm)
    "${im[@]}" "$f" -type TrueColor "bmp3:$out/$n.bmp"
done
for f in "$tmp"/[de]*.ppm; do
    case $f in *.pal.ppm) continue ;; esac
    n=$(basename "$f" .ppm)
    "${im[@]}" "$f" -dither None -remap "$tmp/$n.pal.ppm" "gif:$out/$n.gif"
done
"${im[@]}" "$tmp/zarn.pam" -colors 16 -define bmp:format=bmp3 "ico:$out/zarn.ico"

python3 "$here/check.py" "$out"
