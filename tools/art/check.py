"""Checks the launcher artwork in app/res/ for the exact formats the
resource script relies on.  Exits non-zero with a message on any mismatch.

usage: check.py [RESDIR]      (default: app/res beside this repository)
"""

import os
import struct
import sys

# Pictures A to E at 1x, and drawn afresh at 1.5 and 2 times that size
# (halves rounded up), for monitors at 150 and 200 %.
BMPS1 = {'a': (59, 52), 'b': (43, 43), 'c': (70, 45)}
GIFS1 = {'d': (67, 68), 'e': (574, 133)}
SCALES = ((1.0, ''), (1.5, '@1.5x'), (2.0, '@2x'))


def at_scales(table, ext):
    return {'%s%s.%s' % (n, sfx, ext): (int(w * k + 0.5), int(h * k + 0.5))
            for n, (w, h) in table.items() for k, sfx in SCALES}


BMPS = at_scales(BMPS1, 'bmp')
GIFS = at_scales(GIFS1, 'gif')


class Bad(Exception):
    pass


def need(cond, msg):
    if not cond:
        raise Bad(msg)


def check_bmp(data, w, h):
    need(len(data) >= 54, 'too short for a BMP header')
    sig, fsize, _r1, _r2, off = struct.unpack_from('<2sIHHI', data, 0)
    need(sig == b'BM', 'signature is %r, not BM' % sig)
    need(fsize == len(data), 'header file size %d != actual %d' % (fsize, len(data)))
    (hsz, bw, bh, planes, bpp, comp, isz, _xr, _yr, clr_used, _clr_imp) = \
        struct.unpack_from('<IiiHHIIiiII', data, 14)
    need(hsz == 40, 'info header size %d, want 40 (BITMAPINFOHEADER)' % hsz)
    need(bw == w, 'width %d, want %d' % (bw, w))
    need(bh == h, 'height %d, want %d (positive = bottom-up)' % (bh, h))
    need(planes == 1, 'planes %d, want 1' % planes)
    need(bpp == 24, 'bit count %d, want 24' % bpp)
    need(comp == 0, 'compression %d, want 0 (BI_RGB)' % comp)
    need(clr_used == 0, 'biClrUsed %d, want 0 (no palette)' % clr_used)
    need(off == 54, 'pixel data offset %d, want 54' % off)
    stride = (w * 3 + 3) & ~3
    need(isz in (0, stride * h), 'biSizeImage %d, want %d' % (isz, stride * h))
    need(len(data) == 54 + stride * h,
         'file is %d bytes, want %d (rows padded to %d)' % (len(data), 54 + stride * h, stride))
    pad = stride - w * 3
    if pad:
        for y in range(h):
            tail = data[54 + y * stride + w * 3:54 + (y + 1) * stride]
            need(tail == b'\0' * pad, 'row %d padding is not zero' % y)
    return '%dx%d 24bpp BI_RGB bottom-up' % (w, h)


def check_gif(data, w, h):
    need(data[:6] == b'GIF89a', 'signature %r, want GIF89a' % data[:6])
    gw, gh, flags, _bg, _aspect = struct.unpack_from('<HHBBB', data, 6)
    need((gw, gh) == (w, h), 'screen %dx%d, want %dx%d' % (gw, gh, w, h))
    need(flags & 0x80, 'no global colour table')
    need(flags & 0x07 == 7, 'global colour table has %d entries, want 256' % (2 << (flags & 7)))
    pos = 13 + 3 * 256
    need(len(data) > pos, 'truncated colour table')
    images = 0
    while True:
        need(pos < len(data), 'missing trailer (0x3B)')
        b = data[pos]
        if b == 0x3B:
            pos += 1
            break
        if b == 0x21:                       # extension: label + sub-blocks
            pos += 2
            while True:
                need(pos < len(data), 'truncated extension')
                n = data[pos]
                pos += 1 + n
                if n == 0:
                    break
        elif b == 0x2C:
            images += 1
            need(pos + 10 <= len(data), 'truncated image descriptor')
            ix, iy, iw, ih, iflags = struct.unpack_from('<HHHHB', data, pos + 1)
            need((ix, iy, iw, ih) == (0, 0, w, h),
                 'image at %d,%d size %dx%d, want 0,0 %dx%d' % (ix, iy, iw, ih, w, h))
            need(not iflags & 0x80, 'image has a local colour table')
            need(not iflags & 0x40, 'image is interlaced')
            pos += 10
            need(pos < len(data) and 2 <= data[pos] <= 8, 'bad LZW minimum code size')
            pos += 1
            while True:
                need(pos < len(data), 'truncated image data')
                n = data[pos]
                pos += 1 + n
                if n == 0:
                    break
        else:
            raise Bad('unexpected block 0x%02X at offset %d' % (b, pos))
    need(images == 1, '%d image descriptors, want exactly 1' % images)
    need(pos == len(data), '%d stray bytes after the trailer' % (len(data) - pos))
    return '%dx%d GIF89a, 1 frame, 256-colour global table' % (w, h)


def check_ico(data):
    need(len(data) >= 22, 'too short for an icon directory')
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    need(reserved == 0 and kind == 1, 'not an icon file (reserved %d, type %d)' % (reserved, kind))
    need(count == 1, '%d images, want exactly 1' % count)
    bw, bh, colors, _res, planes, bpp, size, off = struct.unpack_from('<BBBBHHII', data, 6)
    need((bw, bh) == (32, 32), 'directory entry says %dx%d, want 32x32' % (bw, bh))
    need(colors == 16, 'directory entry colour count %d, want 16' % colors)
    need(planes in (0, 1), 'directory entry planes %d' % planes)
    need(bpp in (0, 4), 'directory entry bit count %d, want 4' % bpp)
    need(off == 22, 'image offset %d, want 22' % off)
    need(off + size == len(data), 'image size %d does not reach the end of the file' % size)
    img = data[off:off + size]
    need(img[:8] != b'\x89PNG\r\n\x1a\n', 'image is PNG-compressed, want a classic bitmap')
    (hsz, w, h2, planes, bpp, comp, _isz, _xr, _yr, used, _imp) = \
        struct.unpack_from('<IiiHHIIiiII', img, 0)
    need(hsz == 40, 'bitmap header size %d, want 40' % hsz)
    need((w, h2) == (32, 64), 'bitmap %dx%d, want 32x64 (XOR + AND)' % (w, h2))
    need(planes == 1, 'bitmap planes %d' % planes)
    need(bpp == 4, 'bitmap bit count %d, want 4' % bpp)
    need(comp == 0, 'bitmap compression %d, want 0' % comp)
    need(used in (0, 16), 'bitmap palette size %d, want 16' % used)
    want = 40 + 16 * 4 + 32 * 16 + 32 * 4
    need(size == want, 'image is %d bytes, want %d (header, 16-colour palette, XOR, AND)' % (size, want))
    return '1 image, 32x32, 16 colours, 4bpp BMP-style with AND mask'


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'app', 'res')
    failed = False
    total = 0
    jobs = [('zarn.ico', check_ico, ())]
    jobs += [(n, check_bmp, s) for n, s in sorted(BMPS.items())]
    jobs += [(n, check_gif, s) for n, s in sorted(GIFS.items())]
    for name, fn, args in jobs:
        path = os.path.join(res, name)
        try:
            with open(path, 'rb') as f:
                data = f.read()
        except OSError as e:
            print('FAIL %-14s %s' % (name, e.strerror))
            failed = True
            continue
        total += len(data)
        try:
            print('ok   %-14s %6d bytes  %s' % (name, len(data), fn(data, *args)))
        except (Bad, struct.error) as e:
            print('FAIL %-14s %s' % (name, e))
            failed = True
    print('total %d bytes' % total)
    if failed:
        print('check.py: artwork does not match the required formats', file=sys.stderr)
        sys.exit(1)


if __name__ == '__main__':
    main()
