"""Tiny stdlib-only 2D drawing kit used by draw.py.

Shapes are signed distance functions in pixel units (negative inside), which
gives anti-aliased edges, bevels and glows without any image library.
Images are lists of [r, g, b] floats in 0..1.  An image drawn at a scale
keeps its drawing in the coordinates of its 1x size: shapes, bounding boxes,
glow radii and the distances handed to colour functions are all in 1x pixels,
only the sampling grid is finer.  The files themselves are written by
ImageMagick from the PPM/PAM dumps at the bottom.
"""

import math


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return [a[i] + (b[i] - a[i]) * t for i in range(3)]


def ramp(stops, t):
    """Piecewise linear colour ramp; stops = [(pos, (r, g, b)), ...]."""
    t = clamp(t)
    for i in range(1, len(stops)):
        p1, c1 = stops[i]
        if t <= p1:
            p0, c0 = stops[i - 1]
            f = 0.0 if p1 == p0 else (t - p0) / (p1 - p0)
            return mix(c0, c1, f)
    return list(stops[-1][1])


def rgb(h):
    """'#rrggbb' -> float triple."""
    h = h.lstrip('#')
    return (int(h[0:2], 16) / 255.0, int(h[2:4], 16) / 255.0, int(h[4:6], 16) / 255.0)


# ---------------------------------------------------------------- shapes

class Shape:
    def d(self, x, y):
        raise NotImplementedError

    def grad(self, x, y, e=0.35):
        gx = self.d(x + e, y) - self.d(x - e, y)
        gy = self.d(x, y + e) - self.d(x, y - e)
        n = math.hypot(gx, gy)
        if n < 1e-9:
            return 0.0, 0.0
        return gx / n, gy / n

    def __or__(self, o):
        return Union([self, o])

    def __and__(self, o):
        return Inter([self, o])

    def __sub__(self, o):
        return Diff(self, o)


class Poly(Shape):
    def __init__(self, pts):
        self.pts = [(float(x), float(y)) for x, y in pts]
        n = len(self.pts)
        self.edges = []
        for i in range(n):
            ax, ay = self.pts[i]
            bx, by = self.pts[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            self.edges.append((ax, ay, bx, by, ex, ey, ex * ex + ey * ey or 1e-12))

    def d(self, x, y):
        best = 1e18
        inside = False
        for ax, ay, bx, by, ex, ey, ee in self.edges:
            wx, wy = x - ax, y - ay
            t = (wx * ex + wy * ey) / ee
            t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
            dx, dy = wx - ex * t, wy - ey * t
            dd = dx * dx + dy * dy
            if dd < best:
                best = dd
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * ex / ey:
                    inside = not inside
        r = math.sqrt(best)
        return -r if inside else r


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def d(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Ellipse(Shape):
    """Approximate ellipse distance (good enough near the edge)."""

    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry

    def d(self, x, y):
        px, py = (x - self.cx) / self.rx, (y - self.cy) / self.ry
        k0 = math.hypot(px, py)
        if k0 < 1e-9:
            return -min(self.rx, self.ry)
        k1 = math.hypot(px / self.rx, py / self.ry)
        return k0 * (k0 - 1.0) / k1


class Capsule(Shape):
    """Segment with radius r."""

    def __init__(self, ax, ay, bx, by, r):
        self.a = (ax, ay)
        self.e = (bx - ax, by - ay)
        self.ee = self.e[0] ** 2 + self.e[1] ** 2 or 1e-12
        self.r = r

    def d(self, x, y):
        wx, wy = x - self.a[0], y - self.a[1]
        t = clamp((wx * self.e[0] + wy * self.e[1]) / self.ee)
        return math.hypot(wx - self.e[0] * t, wy - self.e[1] * t) - self.r


class Union(Shape):
    def __init__(self, parts):
        self.parts = parts

    def d(self, x, y):
        return min(p.d(x, y) for p in self.parts)


class Inter(Shape):
    def __init__(self, parts):
        self.parts = parts

    def d(self, x, y):
        return max(p.d(x, y) for p in self.parts)


class Diff(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def d(self, x, y):
        return max(self.a.d(x, y), -self.b.d(x, y))


class Offset(Shape):
    def __init__(self, s, r):
        self.s, self.r = s, r

    def d(self, x, y):
        return self.s.d(x, y) - self.r


class Stroke(Shape):
    def __init__(self, s, w):
        self.s, self.w = s, w

    def d(self, x, y):
        return abs(self.s.d(x, y)) - self.w * 0.5


def xform(pts, sx, sy, ox, oy, rot=0.0):
    """Scale, rotate (radians) and move unit-space points to pixels."""
    c, s = math.cos(rot), math.sin(rot)
    out = []
    for x, y in pts:
        x, y = x * c - y * s, x * s + y * c
        out.append((ox + x * sx, oy + y * sy))
    return out


def mirror_x(pts):
    """Left half outline (top to bottom) -> closed symmetric outline."""
    right = [(-x, y) for x, y in reversed(pts)]
    return list(pts) + [p for p in right if p[0] != 0 or p not in pts]


# ---------------------------------------------------------------- image

def scaled(n, scale):
    """Pixel size of an n-pixel 1x extent at `scale`, halves rounded up."""
    return int(n * scale + 0.5)


class Img:
    def __init__(self, w, h, bg=(0.0, 0.0, 0.0), scale=1.0):
        self.unit_w, self.unit_h, self.scale = w, h, scale
        self.w, self.h = scaled(w, scale), scaled(h, scale)
        self.px = [[bg[0], bg[1], bg[2]] for _ in range(self.w * self.h)]

    def get(self, x, y):
        return self.px[y * self.w + x]

    def box(self, bbox):
        """A 1x bounding box -> pixel range of this image."""
        if bbox is None:
            return 0, 0, self.w, self.h
        k = self.scale
        x0, y0, x1, y1 = bbox
        return (max(0, int(math.floor(x0 * k))), max(0, int(math.floor(y0 * k))),
                min(self.w, int(math.ceil(x1 * k))), min(self.h, int(math.ceil(y1 * k))))

    def paint(self, shape, color, bbox=None, opacity=1.0, soft=1.0):
        """Fill shape; color is a triple or f(x, y, d) -> triple."""
        x0, y0, x1, y1 = self.box(bbox)
        fn = color if callable(color) else None
        k = self.scale
        edge = k / soft                    # the anti-aliased rim is one output pixel wide
        for y in range(y0, y1):
            cy = (y + 0.5) / k
            row = y * self.w
            for x in range(x0, x1):
                cx = (x + 0.5) / k
                d = shape.d(cx, cy)
                a = clamp(0.5 - d * edge) * opacity
                if a <= 0.0:
                    continue
                c = fn(cx, cy, d) if fn else color
                p = self.px[row + x]
                p[0] += (c[0] - p[0]) * a
                p[1] += (c[1] - p[1]) * a
                p[2] += (c[2] - p[2]) * a

    def glow(self, shape, color, radius, strength=1.0, bbox=None, inside=False, power=1.0):
        """Additive light falling off outside the shape."""
        x0, y0, x1, y1 = self.box(bbox)
        k = self.scale
        for y in range(y0, y1):
            cy = (y + 0.5) / k
            row = y * self.w
            for x in range(x0, x1):
                cx = (x + 0.5) / k
                d = shape.d(cx, cy)
                if d < 0 and not inside:
                    d = 0.0
                elif d < 0:
                    d = -d
                a = strength * math.exp(-((d / radius) ** power))
                if a < 0.002:
                    continue
                p = self.px[row + x]
                p[0] += color[0] * a
                p[1] += color[1] * a
                p[2] += color[2] * a

    def shade(self, fn, bbox=None):
        """Apply fn(x, y, pixel) -> new pixel over a region."""
        x0, y0, x1, y1 = self.box(bbox)
        k = self.scale
        for y in range(y0, y1):
            for x in range(x0, x1):
                i = y * self.w + x
                self.px[i] = list(fn((x + 0.5) / k, (y + 0.5) / k, self.px[i]))

    def blit_mask(self, mask, mw, mh, ox, oy, color, opacity=1.0):
        """Composite a coverage mask (list of 0..1) with colour fn or triple.

        Unlike the shape painters this works in output pixels: the mask was
        rendered at this image's scale, ox/oy and fn's x/y are pixels."""
        fn = color if callable(color) else None
        for my in range(mh):
            y = oy + my
            if y < 0 or y >= self.h:
                continue
            for mx in range(mw):
                a = mask[my * mw + mx] * opacity
                if a <= 0.0:
                    continue
                x = ox + mx
                if x < 0 or x >= self.w:
                    continue
                c = fn(x + 0.5, y + 0.5) if fn else color
                p = self.px[y * self.w + x]
                for k in range(3):
                    p[k] += (c[k] - p[k]) * a

    def bytes_rgb(self):
        out = bytearray()
        for p in self.px:
            for k in range(3):
                out.append(int(clamp(p[k]) * 255.0 + 0.5))
        return out


# ---------------------------------------------------------------- lighting

def bevel_normal(shape, x, y, d, width, height=1.0):
    """Surface normal of a plateau whose rim slopes down over `width` px."""
    depth = -d
    if depth >= width:
        return (0.0, 0.0, 1.0)
    gx, gy = shape.grad(x, y)
    # Rounded profile: steeper right at the edge.
    t = clamp(depth / width)
    slope = height * (1.0 - t) * 2.0 + 0.15
    nx, ny, nz = gx * slope, gy * slope, 1.0
    n = math.sqrt(nx * nx + ny * ny + nz * nz)
    return (nx / n, ny / n, nz / n)


LIGHT = (-0.55, -0.65, 0.52)
_ln = math.sqrt(sum(v * v for v in LIGHT))
LIGHT = tuple(v / _ln for v in LIGHT)


def lambert(n, light=LIGHT):
    return max(0.0, n[0] * light[0] + n[1] * light[1] + n[2] * light[2])


def specular(n, power=18.0, light=LIGHT):
    hx, hy, hz = light[0], light[1], light[2] + 1.0
    hn = math.sqrt(hx * hx + hy * hy + hz * hz)
    s = max(0.0, (n[0] * hx + n[1] * hy + n[2] * hz) / hn)
    return s ** power


# ---------------------------------------------------------------- masks

def read_pgm(path):
    """Binary PGM (P5) -> (w, h, list of 0..1)."""
    with open(path, 'rb') as f:
        data = f.read()
    fields = []
    i = 0
    while len(fields) < 4:
        while data[i:i + 1].isspace():
            i += 1
        if data[i:i + 1] == b'#':
            while data[i:i + 1] not in (b'\n', b''):
                i += 1
            continue
        j = i
        while not data[j:j + 1].isspace():
            j += 1
        fields.append(data[i:j])
        i = j
    i += 1
    if fields[0] != b'P5':
        raise ValueError('%s: not a binary PGM' % path)
    w, h, mx = int(fields[1]), int(fields[2]), int(fields[3])
    if mx > 255:
        raw = data[i:i + w * h * 2]
        vals = [((raw[k * 2] << 8) | raw[k * 2 + 1]) / mx for k in range(w * h)]
    else:
        vals = [b / mx for b in data[i:i + w * h]]
    return w, h, vals


def dilate(mask, w, h, r):
    out = list(mask)
    for y in range(h):
        for x in range(w):
            m = 0.0
            for dy in range(-r, r + 1):
                yy = y + dy
                if yy < 0 or yy >= h:
                    continue
                for dx in range(-r, r + 1):
                    xx = x + dx
                    if 0 <= xx < w and dx * dx + dy * dy <= r * r + r:
                        v = mask[yy * w + xx]
                        if v > m:
                            m = v
            out[y * w + x] = m
    return out


def blur(mask, w, h, r):
    """Box blur applied twice (roughly Gaussian)."""
    def once(src):
        tmp = [0.0] * (w * h)
        for y in range(h):
            acc = 0.0
            row = y * w
            for x in range(-r, w + r):
                if 0 <= x + r < w:
                    acc += src[row + x + r]
                if 0 <= x - r - 1 < w:
                    acc -= src[row + x - r - 1]
                if 0 <= x < w:
                    tmp[row + x] = acc / (2 * r + 1)
        out = [0.0] * (w * h)
        for x in range(w):
            acc = 0.0
            for y in range(-r, h + r):
                if 0 <= y + r < h:
                    acc += tmp[(y + r) * w + x]
                if 0 <= y - r - 1 < h:
                    acc -= tmp[(y - r - 1) * w + x]
                if 0 <= y < h:
                    out[y * w + x] = acc / (2 * r + 1)
        return out
    return once(once(mask))


# ---------------------------------------------------------------- palettes

def median_cut(colors, n, fixed=()):
    """colors: dict (r, g, b) -> count.  Returns up to n palette entries.

    `fixed` entries are put first and always kept.
    """
    boxes = [sorted(colors.items())]
    want = n - len(fixed)
    while len(boxes) < want:
        best, bi, bch = -1, -1, 0
        for i, b in enumerate(boxes):
            if len(b) < 2:
                continue
            for ch in range(3):
                lo = min(c[0][ch] for c in b)
                hi = max(c[0][ch] for c in b)
                pop = sum(c[1] for c in b)
                score = (hi - lo) * (pop ** 0.5)
                if score > best:
                    best, bi, bch = score, i, ch
        if bi < 0:
            break
        b = sorted(boxes[bi], key=lambda c: (c[0][bch], c[0]))
        total = sum(c[1] for c in b)
        acc, cut = 0, 1
        for k, c in enumerate(b):
            acc += c[1]
            if acc * 2 >= total:
                cut = max(1, min(len(b) - 1, k + 1))
                break
        boxes[bi:bi + 1] = [b[:cut], b[cut:]]
    pal = list(fixed)
    for b in boxes:
        tot = sum(c[1] for c in b)
        pal.append(tuple(int(round(sum(c[0][k] * c[1] for c in b) / tot)) for k in range(3)))
    return pal


def nearest_index(pal):
    cache = {}

    def find(c):
        i = cache.get(c)
        if i is None:
            bd = 1 << 30
            for k, p in enumerate(pal):
                dr, dg, db = c[0] - p[0], c[1] - p[1], c[2] - p[2]
                dd = 2 * dr * dr + 4 * dg * dg + 3 * db * db
                if dd < bd:
                    bd, i = dd, k
            cache[c] = i
        return i
    return find


def quantize(raw, n, fixed=()):
    pixels = [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    pal = median_cut(counts, n, fixed)
    find = nearest_index(pal)
    idx = [find(p) for p in pixels]
    while len(pal) < n:
        pal.append((0, 0, 0))
    return pal, idx


# ---------------------------------------------------------------- dumps

def write_ppm(path, w, h, raw):
    """Binary PPM (P6), 8 bits a channel: what ImageMagick turns into BMP/GIF."""
    with open(path, 'wb') as f:
        f.write(b'P6\n%d %d\n255\n' % (w, h) + bytes(raw))


def write_pam_rgba(path, w, h, raw, transparent):
    """Binary PAM with alpha (P7 RGB_ALPHA): the icon, transparent outside."""
    out = bytearray()
    for i, t in enumerate(transparent):
        out += raw[i * 3:i * 3 + 3] + (b'\0' if t else b'\xff')
    with open(path, 'wb') as f:
        f.write(b'P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n'
                % (w, h) + bytes(out))


def quantized_ppm(img, colours, fixed=((0, 0, 0),)):
    """The image reduced to `colours` palette entries (black kept exact):
    (pixels as RGB bytes, palette as RGB bytes, padded to `colours`)."""
    pal, idx = quantize(img.bytes_rgb(), colours, fixed=list(fixed))
    raw = bytearray()
    for i in idx:
        raw += bytes(pal[i])
    return raw, bytes(c for p in pal for c in p)
