"""Draws the ZARN launcher artwork.  Called by draw.sh.

usage: draw.py OUTDIR TEXTDIR [name ...]
TEXTDIR holds the lettering masks (PGM) rendered by draw.sh.
"""

import math
import os
import sys

import zart
from zart import (Img, Poly, Circle, Ellipse, Capsule, Union, Inter, Diff,
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


def draw_a():
    w, h = 59, 52
    img = Img(w, h)
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


def draw_b():
    w = h = 43
    img = Img(w, h)
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


def main():
    out, textdir = sys.argv[1], sys.argv[2]
    which = sys.argv[3:] or ['ico', 'a', 'b', 'c', 'd', 'e']
    os.makedirs(out, exist_ok=True)
    if 'ico' in which:
        w, h, pal, idx, tr = draw_icon()
        zart.write_ico4(os.path.join(out, 'zarn.ico'), w, h, pal, idx, tr)
    if 'a' in which:
        zart.write_bmp24(os.path.join(out, 'a.bmp'), draw_a())
    if 'b' in which:
        zart.write_bmp24(os.path.join(out, 'b.bmp'), draw_b())


if __name__ == '__main__':
    main()
