"""Draws the ZARN launcher artwork.  Called by draw.sh.

usage: draw.py DUMPDIR TEXTDIR [name ...]
Writes every picture as a PPM (the icon as a PAM with alpha; each GIF
picture beside its 256-entry palette, NAME.pal.ppm) into DUMPDIR, for
ImageMagick to turn into the files the resource script embeds.  Pictures A
to E are drawn at 1, 1.5 and 2 times their size (a.ppm, a@1.5x.ppm,
a@2x.ppm), the icon once.  TEXTDIR holds the lettering masks (PGM) that
draw.sh rendered at each scale (title@1.5x.pgm, ...).
"""

import math
import multiprocessing
import os
import sys

import zart
from zart import (Img, Shape, Poly, Circle, Ellipse, Capsule, Union, Inter, Diff,
                  Offset, Stroke, clamp, mix, ramp, rgb, xform, mirror_x,
                  bevel_normal, lambert, specular)


# ============================================================ the side emblem
# Unit space, y down, roughly -1..1.  A pointed shield with a rising crest,
# a gate arch cut through it and an upward spearhead standing in the gate.

SHIELD_HALF = [(0.0, -1.0), (-0.30, -0.70), (-0.88, -0.70), (-0.88, -0.50),
               (-0.70, -0.38), (-0.70, 0.18), (0.0, 1.0)]
GATE_TOP = -0.18


def emblem_shapes(cx, cy, s, fine=True):
    shield = Poly(xform(mirror_x(SHIELD_HALF), s, s, cx, cy))
    gw = 0.30
    arch = Union([Poly(xform([(-gw, GATE_TOP), (gw, GATE_TOP), (gw, 0.52), (-gw, 0.52)], s, s, cx, cy)),
                  Circle(cx, cy + GATE_TOP * s, gw * s)])
    if fine:
        spear = Poly(xform([(0.0, -0.40), (0.17, 0.10), (0.07, 0.04), (0.07, 0.52),
                            (-0.07, 0.52), (-0.07, 0.04), (-0.17, 0.10)], s, s, cx, cy))
    else:
        spear = Poly(xform([(0.0, -0.42), (0.20, 0.36), (0.0, 0.22), (-0.20, 0.36)], s, s, cx, cy))
    body = Diff(shield, arch)
    return shield, arch, body, spear


def steel(top, bottom, bright=1.0):
    """Grey-blue polished steel shader for a shape spanning top..bottom."""
    span = bottom - top

    def colour(shape, bevel):
        def f(x, y, d):
            n = bevel_normal(shape, x, y, d, bevel, 1.3)
            t = (y - top) / span + n[1] * 0.45 + n[0] * 0.12
            base = ramp([(0.00, (0.86, 0.91, 0.98)),
                         (0.30, (0.62, 0.69, 0.80)),
                         (0.50, (0.30, 0.36, 0.47)),
                         (0.56, (0.20, 0.24, 0.33)),
                         (0.80, (0.42, 0.49, 0.61)),
                         (1.00, (0.70, 0.77, 0.88))], t)
            li = 0.50 + 0.62 * lambert(n)
            sp = specular(n, 24.0) * 0.55
            return [clamp(base[k] * li * bright + sp) for k in range(3)]
        return f
    return colour


def draw_emblem(img, cx, cy, s, fine=True, glow=True):
    shield, arch, body, spear = emblem_shapes(cx, cy, s, fine)
    pad = 0.3 * s + 4
    bb = (cx - s - pad, cy - s - pad, cx + s + pad, cy + s + pad)
    if glow:
        img.glow(shield, (0.18, 0.26, 0.42), s * 0.16, 0.9 if fine else 0.55, bb)
    if not fine:
        img.paint(Offset(shield, 0.9), (0.01, 0.01, 0.03), bb, opacity=0.8)
    # dark inner gate with a faint cold light deep inside
    gate_col = lambda x, y, d: mix((0.02, 0.03, 0.06), (0.10, 0.16, 0.30),
                                   clamp(1.0 - math.hypot(x - cx, y - cy - 0.15 * s) / (0.5 * s)))
    img.paint(Inter([shield, Offset(arch, 0.5)]), gate_col, bb)
    sh = steel(cy - s, cy + s)
    img.paint(body, sh(body, max(1.2, s * 0.13)), bb)
    # engraved rim line inside the shield edge
    if fine:
        rim = Stroke(Offset(shield, s * 0.10), max(0.7, s * 0.025))
        img.paint(Inter([rim, body]), (0.10, 0.12, 0.18), bb, opacity=0.55)
    if fine:
        key = Poly(xform([(-0.11, -0.65), (0.11, -0.65), (0.07, -0.47), (-0.07, -0.47)], s, s, cx, cy))
        img.paint(Offset(key, 0.8), (0.08, 0.10, 0.15), bb, opacity=0.7)
        ks = steel(cy - 0.75 * s, cy - 0.35 * s, 1.15)
        img.paint(key, ks(key, 1.0), bb)
    if fine:
        sp = steel(cy - 0.45 * s, cy + 0.55 * s, 1.1)
        img.paint(spear, sp(spear, max(1.0, s * 0.08)), bb)
    else:
        img.glow(spear, (0.20, 0.32, 0.55), 1.2, 0.8, bb)
        img.paint(spear, lambda x, y, d: mix((1.0, 1.0, 1.0), (0.55, 0.64, 0.80),
                                             clamp((y - cy + 0.42 * s) / (0.8 * s))), bb)
    return shield


# ============================================================ zarn.ico

def draw_icon():
    w = h = 32
    img = Img(w, h)
    tile = Offset(Poly([(2, 2), (30, 2), (30, 30), (2, 30)]), 1.5)
    img.paint(tile, lambda x, y, d: mix((0.10, 0.12, 0.18), (0.02, 0.02, 0.04),
                                        clamp(math.hypot(x - 16, y - 13) / 20)))
    draw_emblem(img, 16.0, 16.4, 13.6, fine=False, glow=True)
    # transparency: outside the tile
    transparent = []
    for y in range(h):
        for x in range(w):
            transparent.append(tile.d(x + 0.5, y + 0.5) > 0.0)
    raw = img.bytes_rgb()
    for i, t in enumerate(transparent):
        if t:
            raw[i * 3:i * 3 + 3] = b'\0\0\0'
    pal, idx = zart.quantize(raw, 16, fixed=[(0, 0, 0)])
    return w, h, pal, idx, transparent


# ============================================================ a.bmp

CREST_HALF = [(0.0, -0.52), (-0.26, -0.98), (-0.40, -0.46), (-0.97, -0.80),
              (-0.74, -0.12), (-0.52, 0.02), (-0.40, 0.42), (0.0, 0.98)]


def draw_a(scale):
    w, h = 59, 52
    img = Img(w, h, scale=scale)
    cx, cy, sx, sy = 29.5, 26.5, 27.5, 24.0
    crest = Poly(xform(mirror_x(CREST_HALF), sx, sy, cx, cy))
    eye = Poly(xform([(0.0, -0.30), (0.22, 0.05), (0.0, 0.42), (-0.22, 0.05)], sx, sy, cx, cy))
    body = Diff(crest, eye)
    purple = (0.62, 0.22, 0.92)
    img.glow(crest, (0.30, 0.08, 0.48), 3.2, 0.85)

    def dark_steel(x, y, d):
        n = bevel_normal(body, x, y, d, 3.0, 1.2)
        t = (y - cy + sy) / (2 * sy) + n[1] * 0.4
        base = ramp([(0.0, (0.46, 0.45, 0.50)), (0.45, (0.22, 0.21, 0.25)),
                     (0.55, (0.12, 0.11, 0.14)), (1.0, (0.28, 0.27, 0.31))], t)
        li = 0.45 + 0.7 * lambert(n)
        sp = specular(n, 20.0) * 0.35
        c = [base[k] * li + sp for k in range(3)]
        # purple light creeping in along the rim
        e = math.exp(d / 1.6)
        return [clamp(c[k] + purple[k] * e * 0.65) for k in range(3)]

    # the eye socket: violet light from within
    img.paint(Offset(eye, 0.5), lambda x, y, d: mix((0.95, 0.70, 1.0), (0.35, 0.05, 0.55),
                                                    clamp(math.hypot(x - cx, (y - cy - 2.5) * 0.7) / 6.0)))
    img.paint(body, dark_steel)
    img.paint(Stroke(crest, 0.9), (0.80, 0.45, 1.0), opacity=0.85)
    img.paint(Stroke(eye, 0.8), (0.70, 0.35, 0.95), opacity=0.7)
    # centre ridge line of the crest
    ridge = Inter([Capsule(cx, cy - 0.52 * sy, cx, cy - 0.30 * sy - 1, 0.6), crest])
    img.paint(ridge, (0.55, 0.25, 0.75), opacity=0.8)
    return img


# ============================================================ b.bmp

def star_points(cx, cy, R, r, rot=-math.pi / 2):
    pts = []
    for i in range(10):
        a = rot + i * math.pi / 5
        rad = R if i % 2 == 0 else r
        pts.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))
    return pts


def hammer_sickle(cx, cy, s):
    """Returns a shape for the crossed tools, about 2*s across."""
    # sickle: a crescent blade opening towards the lower left, plus a grip
    outer = Circle(cx + 0.08 * s, cy - 0.10 * s, 0.78 * s)
    inner = Circle(cx - 0.06 * s, cy - 0.26 * s, 0.66 * s)
    blade = Diff(outer, inner)
    # open the lower-left part of the ring
    cut = Poly(xform([(-1.2, 0.05), (-0.05, 0.55), (-0.2, 1.3), (-1.3, 1.3)], s, s, cx, cy))
    blade = Diff(blade, cut)
    grip = Capsule(cx - 0.30 * s, cy + 0.52 * s, cx - 0.62 * s, cy + 0.86 * s, 0.11 * s)
    # hammer: handle from lower right to upper left, head across its top end
    handle = Capsule(cx + 0.66 * s, cy + 0.78 * s, cx - 0.30 * s, cy - 0.30 * s, 0.09 * s)
    ang = math.atan2(-1.08, -0.96)        # direction of the handle, pointing up-left
    ux, uy = math.cos(ang), math.sin(ang)
    px, py = -uy, ux
    hx, hy = cx - 0.38 * s, cy - 0.39 * s
    hw, hl = 0.15 * s, 0.36 * s
    head = Poly([(hx + px * hl + ux * hw, hy + py * hl + uy * hw),
                 (hx + px * hl - ux * hw, hy + py * hl - uy * hw),
                 (hx - px * hl - ux * hw, hy - py * hl - uy * hw),
                 (hx - px * hl + ux * hw, hy - py * hl + uy * hw)])
    return Union([blade, grip, handle, head])


def draw_b(scale):
    w = h = 43
    img = Img(w, h, scale=scale)
    cx, cy = 21.5, 22.4
    R = 19.2
    pts = star_points(cx, cy, R, R * 0.40)
    star = Poly(pts)
    img.glow(star, (0.90, 0.30, 0.02), 1.8, 0.75)
    img.glow(star, (0.55, 0.10, 0.0), 5.0, 0.30)
    # ten facets, lit alternately, like a pressed metal star
    for i in range(10):
        a, b = pts[i], pts[(i + 1) % 10]
        tri = Poly([(cx, cy), a, b])
        # facet normal: tilt towards the facet's outer edge midpoint
        ex, ey = b[0] - a[0], b[1] - a[1]
        el = math.hypot(ex, ey)
        mx, my = ey / el, -ex / el          # outward normal of the facet's outer edge
        if mx * ((a[0] + b[0]) / 2 - cx) + my * ((a[1] + b[1]) / 2 - cy) < 0:
            mx, my = -mx, -my
        n = (mx * 1.1, my * 1.1, 1.0)
        nl = math.sqrt(n[0] ** 2 + n[1] ** 2 + 1)
        n = (n[0] / nl, n[1] / nl, n[2] / nl)
        li = lambert(n)

        def col(x, y, d, li=li):
            r = math.hypot(x - cx, y - cy) / R
            base = ramp([(0.0, (0.80, 0.06, 0.02)), (0.45, (0.92, 0.14, 0.03)),
                         (0.80, (1.0, 0.36, 0.05)), (1.0, (1.0, 0.55, 0.12))], r)
            k = 0.22 + 1.25 * li
            return [clamp(base[0] * k), clamp(base[1] * k * 0.95), clamp(base[2] * k)]
        img.paint(Inter([tri, Offset(star, 0.0)]), col, soft=0.9)
    img.paint(Stroke(Offset(star, -0.3), 0.6), (1.0, 0.70, 0.3), opacity=0.35)
    # the tools, gold with a dark red outline
    hs = hammer_sickle(cx + 0.4, cy + 0.3, 8.0)
    shadow = hammer_sickle(cx + 1.2, cy + 1.1, 8.0)
    img.paint(Offset(shadow, 0.2), (0.22, 0.0, 0.0), opacity=0.8)
    img.paint(hs, lambda x, y, d: mix((1.0, 0.97, 0.62), (0.98, 0.68, 0.10), clamp((y - cy + 7) / 14)))
    return img


# ============================================================ c.bmp

WING_L = [(33.5, 12.5), (28, 7.0), (19, 3.0), (9, 1.6), (1.0, 3.2),
          (7.5, 6.6), (3.2, 8.6), (10.5, 9.6), (6.5, 12.6), (14, 12.6),
          (12, 16.0), (19.5, 14.8), (19, 18.8), (26, 16.8), (28, 20.5), (33.5, 19.5)]
# dark lines between the feather groups: (from notch, towards the shoulder)
FEATHER_L = [((7.5, 6.6), (21, 6.8)), ((10.5, 9.6), (22, 9.6)),
             ((14, 12.6), (24, 11.8)), ((19.5, 14.8), (27, 13.6))]


def silver(shape, top, bottom, bevel, bright=1.0):
    span = bottom - top

    def f(x, y, d):
        n = bevel_normal(shape, x, y, d, bevel, 1.3)
        t = (y - top) / span + n[1] * 0.45 + n[0] * 0.1
        v = ramp([(0.0, (0.97, 0.97, 0.99)), (0.35, (0.74, 0.75, 0.79)),
                  (0.52, (0.40, 0.41, 0.45)), (0.60, (0.30, 0.31, 0.35)),
                  (0.85, (0.58, 0.59, 0.63)), (1.0, (0.82, 0.83, 0.87))], t)
        li = 0.55 + 0.6 * lambert(n)
        sp = specular(n, 22.0) * 0.5
        return [clamp(v[k] * li * bright + sp) for k in range(3)]
    return f


def draw_c(scale):
    w, h = 70, 45
    img = Img(w, h, scale=scale)
    m = lambda pts: [(w - x, y) for x, y in pts]
    # the inverted triangle: a bevelled frame with a darker inlay
    tri = Poly([(17.5, 22.5), (52.5, 22.5), (35, 44.0)])
    inlay = Poly([(23.5, 25.5), (46.5, 25.5), (35, 39.5)])
    img.glow(tri, (0.25, 0.27, 0.32), 1.5, 0.5)
    img.paint(Diff(tri, inlay), silver(Diff(tri, inlay), 22, 44, 1.6))
    img.paint(inlay, lambda x, y, d: mix((0.30, 0.31, 0.36), (0.08, 0.08, 0.10), clamp((y - 25) / 14)))
    img.paint(Stroke(inlay, 0.6), (0.05, 0.05, 0.06), opacity=0.7)
    # the eagle
    wings = Union([Poly(WING_L), Poly(m(WING_L))])
    body = Union([Ellipse(35, 15.5, 4.3, 8.0),
                  Poly([(31.5, 20), (38.5, 20), (41, 27.5), (35, 29.5), (29, 27.5)])])
    head = Union([Circle(35.2, 6.6, 3.2),
                  Poly([(33.0, 4.8), (29.4, 5.6), (27.9, 7.4), (28.6, 9.0), (29.6, 7.9), (33.4, 9.4)])])
    eagle = Union([wings, body, head])
    img.glow(eagle, (0.45, 0.47, 0.55), 1.6, 0.55)
    img.paint(Offset(eagle, 0.8), (0.02, 0.02, 0.03), opacity=0.85)
    img.paint(wings, silver(wings, 1, 20, 1.5))
    img.paint(body, silver(body, 7, 30, 1.6, 1.05))
    img.paint(head, silver(head, 3, 10, 1.4, 1.1))
    for (a, b) in FEATHER_L:
        for seg in (Capsule(a[0], a[1], b[0], b[1], 0.35), Capsule(w - a[0], a[1], w - b[0], b[1], 0.35)):
            img.paint(Inter([seg, wings]), (0.12, 0.12, 0.15), opacity=0.55)
    # tail feathers and the eye
    for x0 in (33.0, 37.0):
        img.paint(Capsule(x0, 23.5, 35 + (x0 - 35) * 1.9, 28.5, 0.3), (0.15, 0.15, 0.18), opacity=0.5)
    img.paint(Circle(33.5, 5.9, 0.7), (0.05, 0.05, 0.08))
    img.paint(Stroke(Circle(35, 12.3, 3.8), 0.5), (0.18, 0.18, 0.22), opacity=0.45,
              bbox=(30, 12, 40, 17))
    return img


# ============================================================ d.gif

def draw_d(scale):
    img = Img(67, 68, scale=scale)
    # a faint cold halo behind the emblem
    img.glow(Circle(33.5, 34.5, 6), (0.05, 0.08, 0.16), 18.0, 1.0)
    draw_emblem(img, 33.5, 34.6, 31.0)
    return img


# ============================================================ e.gif

class Turned(Shape):
    """A shape rotated by `ang` radians around (cx, cy)."""

    def __init__(self, s, cx, cy, ang):
        self.s, self.cx, self.cy = s, cx, cy
        self.c, self.sn = math.cos(-ang), math.sin(-ang)

    def d(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return self.s.d(self.cx + dx * self.c - dy * self.sn, self.cy + dx * self.sn + dy * self.c)


def almond(cx, cy, a, top, bottom):
    """Eye outline: two circular arcs meeting at sharp corners."""
    rt = (a * a + top * top) / (2 * top)
    rb = (a * a + bottom * bottom) / (2 * bottom)
    return Inter([Circle(cx, cy - top + rt, rt), Circle(cx, cy + bottom - rb, rb)])


def draw_eye(img, cx, cy, side):
    """side = -1 for the left eye, +1 for the right; inner corners dip."""
    tilt = -0.13 * side
    inw = -side                     # +1 points towards the middle of the banner
    eye = Turned(almond(cx, cy, 92.0, 27.0, 17.0), cx, cy, tilt)
    bb = (cx - 150, 0, cx + 150, 100)
    img.glow(eye, (0.55, 0.16, 0.0), 14.0, 0.55, bb)
    img.glow(eye, (0.95, 0.45, 0.05), 4.0, 0.55, bb)
    ix, iy = cx - 6.0 * side, cy + 1.5
    iris_r = 21.0

    def col(x, y, d):
        depth = -d
        r = math.hypot(x - ix, y - iy)
        # the white of the eye: molten amber, darker towards the lids
        u = clamp(r / 80.0)
        c = ramp([(0.0, (1.0, 0.72, 0.30)), (0.4, (0.95, 0.45, 0.07)),
                  (1.0, (0.55, 0.12, 0.0))], u)
        if r < iris_r + 1.0:
            ang = math.atan2(y - iy, x - ix)
            streak = 0.85 + 0.15 * math.sin(ang * 23.0) * math.sin(ang * 7.0 + 1.0)
            v = r / iris_r
            ic = ramp([(0.0, (1.0, 0.95, 0.62)), (0.35, (1.0, 0.78, 0.22)),
                       (0.75, (1.0, 0.42, 0.02)), (0.93, (0.62, 0.14, 0.0)),
                       (1.0, (0.35, 0.05, 0.0))], v)
            ic = [ic[k] * streak for k in range(3)]
            c = mix(ic, c, clamp(r - iris_r + 0.5))
        # slit pupil
        pd = math.hypot((x - ix) / 3.2, (y - iy) / 17.0) - 1.0
        if pd < 0.4:
            c = mix((0.05, 0.0, 0.0), c, clamp(pd * 3.2 / 1.0 + 0.5))
        # lid shadow along the upper edge
        ny = y - cy
        lid = clamp(depth / 7.0) if ny < 0 else clamp(depth / 4.0)
        k = 0.35 + 0.65 * lid
        return [c[0] * k, c[1] * k, c[2] * k]
    img.paint(eye, col, bb)
    # glint
    img.glow(Circle(ix - 7.0, iy - 7.5, 1.8), (1.0, 0.95, 0.85), 1.4, 0.9, (ix - 14, iy - 14, ix, iy))
    # sharp brow above the eye, a dark blade catching a warm rim light
    brow = Turned(Poly([(cx - inw * 100, cy - 16), (cx - inw * 20, cy - 33),
                        (cx + inw * 60, cy - 33), (cx + inw * 104, cy - 20),
                        (cx + inw * 40, cy - 27), (cx - inw * 20, cy - 27)]), cx, cy, tilt)
    img.paint(Offset(brow, 1.0), (0.0, 0.0, 0.0), bb, opacity=0.8)
    img.paint(brow, lambda x, y, d: mix((0.95, 0.50, 0.10), (0.30, 0.08, 0.01), clamp(-d / 2.0)), bb)


def text_layer(img, mask, mw, mh, top, fill, outline, glow_col, glow_r):
    """Lettering from a mask rendered at the image's scale; `top` and
    `glow_r` are in 1x pixels, the rest of the work in output pixels."""
    top = int(round(top * img.scale))
    glow_r = int(round(glow_r * img.scale))
    xs = [i % mw for i, v in enumerate(mask) if v > 0.05]
    ys = [i // mw for i, v in enumerate(mask) if v > 0.05]
    x0, x1, y0, y1 = min(xs), max(xs) + 1, min(ys), max(ys) + 1
    pad = glow_r * 2 + 2
    bx0, by0 = max(0, x0 - pad), max(0, y0 - pad)
    bx1, by1 = min(mw, x1 + pad), min(mh, y1 + pad)
    cw, ch = bx1 - bx0, by1 - by0
    crop = [mask[(by0 + y) * mw + bx0 + x] for y in range(ch) for x in range(cw)]
    ox = (img.w - (x1 - x0)) // 2 - (x0 - bx0)
    oy = top - (y0 - by0)
    if glow_col:
        g = zart.blur(crop, cw, ch, glow_r)
        for y in range(ch):
            for x in range(cw):
                a = g[y * cw + x]
                if a > 0.004 and 0 <= oy + y < img.h and 0 <= ox + x < img.w:
                    p = img.px[(oy + y) * img.w + ox + x]
                    for k in range(3):
                        p[k] += glow_col[k] * a
    if outline:
        img.blit_mask(zart.dilate(crop, cw, ch, max(1, int(round(img.scale)))), cw, ch, ox, oy, outline)
    y_top, y_bot = oy + (y0 - by0), oy + (y1 - by0)
    img.blit_mask(crop, cw, ch, ox, oy, lambda x, y: fill((y - y_top) / (y_bot - y_top)))


def draw_e(textdir, scale):
    w, h = 574, 133
    img = Img(w, h, scale=scale)
    cx = w / 2.0
    ey = 44.0
    draw_eye(img, 146.0, ey, -1)
    draw_eye(img, w - 146.0, ey, 1)
    # cold light behind the emblem so it stands apart from the warm eyes
    img.glow(Circle(cx, 43, 10), (0.06, 0.10, 0.20), 24.0, 1.0, (cx - 90, 0, cx + 90, 100))
    draw_emblem(img, cx, 43.5, 37.5)
    # lettering
    sw, sh, sub = zart.read_pgm(os.path.join(textdir, 'sub%s.pgm' % SUFFIX[scale]))
    tw, th, title = zart.read_pgm(os.path.join(textdir, 'title%s.pgm' % SUFFIX[scale]))
    steel_fill = lambda t: ramp([(0.0, (0.95, 0.97, 1.0)), (0.5, (0.62, 0.68, 0.78)),
                                 (0.55, (0.40, 0.46, 0.58)), (1.0, (0.72, 0.78, 0.88))], t)
    gold_fill = lambda t: ramp([(0.0, (1.0, 0.95, 0.70)), (0.42, (1.0, 0.70, 0.18)),
                                (0.50, (0.92, 0.42, 0.04)), (0.75, (0.85, 0.30, 0.02)),
                                (1.0, (1.0, 0.58, 0.12))], t)
    text_layer(img, sub, sw, sh, 89, steel_fill, (0.02, 0.03, 0.06), (0.10, 0.16, 0.30), 2)
    # thin rules either side of the small line
    for side in (-1, 1):
        x_in = cx + side * 122
        x_out = cx + side * 250
        rule = Capsule(x_in, 93.5, x_out, 93.5, 0.55)
        img.paint(rule, lambda x, y, d: mix((0.75, 0.80, 0.90), (0.0, 0.0, 0.0),
                                            clamp(abs(x - x_in) / abs(x_out - x_in))),
                  (min(x_in, x_out) - 2, 90, max(x_in, x_out) + 2, 97))
    text_layer(img, title, tw, th, 104, gold_fill, (0.12, 0.02, 0.0), (0.45, 0.12, 0.0), 3)
    return img


SCALES = (1.0, 1.5, 2.0)
SUFFIX = {1.0: '', 1.5: '@1.5x', 2.0: '@2x'}
BITMAPS = {'a': draw_a, 'b': draw_b, 'c': draw_c}


def dump(job):
    """Draws one picture at one scale into its dump file(s)."""
    dumpdir, textdir, name, scale = job
    base = os.path.join(dumpdir, name + SUFFIX[scale])
    if name == 'ico':
        w, h, pal, idx, tr = draw_icon()
        raw = bytearray()
        for i in idx:
            raw += bytes(pal[i])
        zart.write_pam_rgba(os.path.join(dumpdir, 'zarn.pam'), w, h, raw, tr)
    elif name in BITMAPS:
        img = BITMAPS[name](scale)
        zart.write_ppm(base + '.ppm', img.w, img.h, img.bytes_rgb())
    else:
        img = draw_d(scale) if name == 'd' else draw_e(textdir, scale)
        raw, pal = zart.quantized_ppm(img, 256)
        zart.write_ppm(base + '.ppm', img.w, img.h, raw)
        zart.write_ppm(base + '.pal.ppm', 256, 1, pal)
    return base


def main():
    dumpdir, textdir = sys.argv[1], sys.argv[2]
    which = sys.argv[3:] or ['ico', 'a', 'b', 'c', 'd', 'e']
    os.makedirs(dumpdir, exist_ok=True)
    jobs = [(dumpdir, textdir, n, s) for n in which for s in (SCALES if n != 'ico' else (1.0,))]
    jobs.sort(key=lambda j: -(j[3] * (10 if j[2] == 'e' else 1)))   # longest first
    with multiprocessing.Pool() as pool:
        for base in pool.imap_unordered(dump, jobs):
            print('drawn', os.path.basename(base))


if __name__ == '__main__':
    main()
