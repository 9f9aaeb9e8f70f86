"""A face for the UI tests' font worlds: SOURCE with its family renamed to FAMILY and
every advance width times SCALE, so that its text is as wide as a test wants; with CHAR
and SHIFT, that character's outline moved SHIFT units to the right and its advance kept,
so that it is drawn out of its line's box (a CFF face, as URW's are).

    /usr/bin/python3 tests/ui/font_world.py SOURCE FAMILY SCALE OUT [CHAR SHIFT]

Written with fontTools (Debian's python3-fonttools), which reads and writes the format.
"""
import sys

from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

source, family, scale, out = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4]
font = TTFont(source)
names = font["name"]
names.names = [n for n in names.names if n.nameID not in (1, 2, 4, 6, 16, 17)]
for platform, encoding, language in ((3, 1, 0x409), (1, 0, 0)):
    for name_id, text in ((1, family), (2, "Regular"), (4, family), (6, family.replace(" ", ""))):
        names.setName(text, name_id, platform, encoding, language)
metrics = font["hmtx"].metrics
for glyph, (advance, left) in metrics.items():
    metrics[glyph] = (round(advance * scale), left)
font["OS/2"].xAvgCharWidth = round(font["OS/2"].xAvgCharWidth * scale)
if len(sys.argv) > 6:
    glyph, shift = font.getBestCmap()[ord(sys.argv[5])], int(sys.argv[6])
    top = font["CFF "].cff.topDictIndex[0]
    pen = T2CharStringPen(metrics[glyph][0] - top.Private.nominalWidthX, font.getGlyphSet())
    font.getGlyphSet()[glyph].draw(TransformPen(pen, (1, 0, 0, 1, shift, 0)))
    top.CharStrings[glyph] = pen.getCharString(top.Private, top.GlobalSubrs)
    metrics[glyph] = (metrics[glyph][0], metrics[glyph][1] + shift)
font.save(out)
