#!/usr/bin/env python3
"""Regenerate Horlomat.ico, hand.cur and logo.gif next to this script.

    python3 assets/make_assets.py

The pixel art is in art/*.xpm (hand.xpm carries the cursor's hot spot),
the logo is drawn below, and ImageMagick's convert does the ICO and GIF
encoding.  Its output is then patched where our files have always
differed from what convert writes, so regenerating unchanged art leaves
git clean.
"""

import math
import os
import re
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))

# The Windows 16-colour palette in system order; icon and cursor pixels
# are indices into it.
VGA16 = bytes.fromhex('000000 800000 008000 808000 000080 800080 008080 c0c0c0'
                      '808080 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff')


def read_xpm(name):
    """(rows of '#rrggbb' or 'none', extra header numbers) of an art file."""
    with open(os.path.join(HERE, 'art', name)) as f:
        lines = re.findall(r'"([^"]*)"', f.read())
    w, h, ncolours, cpp, *extra = map(int, lines[0].split())
    assert cpp == 1
    colour = {l[0]: l.split()[-1].lower() for l in lines[1:1 + ncolours]}
    rows = [[colour[c] for c in row] for row in lines[1 + ncolours:][:h]]
    assert len(rows) == h and all(len(r) == w for r in rows)
    return rows, extra


def miff(w, h, palette, pixels, matte=False):
    # ImageMagick's own format: the one way to hand convert a palette image
    # that keeps our colour order and, for icons, transparency per pixel
    # rather than per palette entry.
    head = ('id=ImageMagick\nclass=PseudoClass colors=%d matte=%s\n'
            'columns=%d rows=%d depth=8\n\f\n:\x1a'
            % (len(palette) // 3, matte, w, h))
    return head.encode() + palette + bytes(pixels)


def convert(data, *args):
    return subprocess.run(['convert', 'miff:-', *args], input=data,
                          stdout=subprocess.PIPE, check=True).stdout


def icon_image(rows):
    vga = ['#' + VGA16[i:i + 3].hex() for i in range(0, 48, 3)]
    # Transparent pixels are colour 0 under a set mask bit, so drawing
    # them leaves the screen unchanged.
    pixels = [v for row in rows for c in row
              for v in ((0, 0) if c == 'none' else (vga.index(c), 255))]
    return miff(len(rows[0]), len(rows), VGA16, pixels, matte=True)


def icon_file(images, hotspots=None):
    """ICO of 4-bpp images, or a CUR if hot spots are given."""
    out = bytearray(convert(b''.join(map(icon_image, images)), 'ICO:-'))
    if hotspots:
        struct.pack_into('<H', out, 2, 2)
    for i in range(len(images)):
        entry = 6 + 16 * i
        size, offset = struct.unpack_from('<II', out, entry + 8)
        # convert counts only the colour bitmap in biSizeImage and fills in
        # biClrUsed/biClrImportant; ours count both bitmaps (all of the
        # image but header and palette) and leave zeros.
        struct.pack_into('<I8xII', out, offset + 20, size - 40 - 64, 0, 0)
        if hotspots:
            # Where an icon has planes and bit count, a cursor has its hot spot.
            struct.pack_into('<HH', out, entry + 4, *hotspots[i])
    return bytes(out)


def gif_255(gif):
    """Repack the image data of a GIF87a without extensions into 255-byte
    sub-blocks; convert writes 254, the logo has always had 255."""
    start = 6 + 7 + 3 * (2 << (gif[10] & 7)) + 10 + 1
    assert gif[start - 11] == ord(',')
    data, p = b'', start
    while gif[p]:
        data += gif[p + 1:p + 1 + gif[p]]
        p += 1 + gif[p]
    return gif[:start] + b''.join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                                  for i in range(0, len(data), 255)) + gif[p:]


# ---------------------------------------------------------------------------
# Logo: 106x130, a white clock and the word over a vertical blue gradient
# ---------------------------------------------------------------------------

LOGO_W, LOGO_H = 106, 130

# Everything in the logo is white laid over the gradient, so the palette is
# 17 gradient steps x 15 white-over-blue blends plus pure white: exactly
# 256 colours, and edges can still be smoothed. Blends are in sixteenths
# to match the 4x4 supersampling; 15/16 is drawn as white, which keeps the
# near-white blends of neighbouring steps from rounding to the same colour.
SS = 4
GRAD_STEPS = 17
BLEND_STEPS = 15
GRAD_TOP = (48, 116, 196)
GRAD_BOTTOM = (14, 44, 98)
BASELINE = 109                 # of the word, centred horizontally


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def logo():
    palette = []
    for t in range(GRAD_STEPS):
        f = t / (GRAD_STEPS - 1)
        base = [a + (b - a) * f for a, b in zip(GRAD_TOP, GRAD_BOTTOM)]
        for k in range(BLEND_STEPS):
            palette.append(tuple(round(c + (255 - c) * k / (SS * SS)) for c in base))
    white = len(palette)
    palette.append((255, 255, 255))
    # A repeated entry would waste a slot and make the blend ramp uneven.
    assert len(palette) == 256 and len(set(palette)) == 256

    cx, cy = 53.0, 48.0          # clock centre
    ring_in, ring_out = 31.5, 34.0
    face = 28.5

    def hand_end(deg, length):
        a = math.radians(deg)
        return cx + length * math.sin(a), cy - length * math.cos(a)

    hour = hand_end(305, 14.0)   # 10:10
    minute = hand_end(60, 21.0)

    def white_at(px, py):
        # Rounded panel; everything outside it is plain white paper.
        rx = min(max(px, 1 + 14), LOGO_W - 1 - 14)
        ry = min(max(py, 1 + 14), LOGO_H - 1 - 14)
        if math.hypot(px - rx, py - ry) > 14:
            return True
        d = math.hypot(px - cx, py - cy)
        if ring_in <= d <= ring_out:
            return True
        if d > face:
            return False
        # Inside the face: ticks, hands and hub are cut out to show the panel.
        if d <= 3.2:
            return d <= 1.2
        ang = math.degrees(math.atan2(px - cx, cy - py)) % 360
        off = (ang + 15) % 30 - 15
        quarter = round(ang / 30) % 3 == 0
        if quarter and 18.5 <= d <= 25.5 and abs(math.radians(off)) * d <= 1.6:
            return False
        if not quarter and 22.0 <= d <= 25.5 and abs(math.radians(off)) * d <= 1.0:
            return False
        if seg_dist(px, py, cx, cy, *hour) <= 2.2:
            return False
        if seg_dist(px, py, cx, cy, *minute) <= 1.5:
            return False
        return True

    word, _ = read_xpm('tesmar.xpm')
    left, top = (LOGO_W - len(word[0])) // 2, BASELINE + 1 - len(word)

    pixels = []
    for y in range(LOGO_H):
        t = min(GRAD_STEPS - 1, y * GRAD_STEPS // LOGO_H)
        for x in range(LOGO_W):
            wx, wy = x - left, y - top
            if 0 <= wy < len(word) and 0 <= wx < len(word[0]) and word[wy][wx] != 'none':
                pixels.append(white)
                continue
            hits = 0
            for sy in range(SS):
                for sx in range(SS):
                    if white_at(x + (sx + .5) / SS, y + (sy + .5) / SS):
                        hits += 1
            pixels.append(white if hits >= BLEND_STEPS else t * BLEND_STEPS + hits)
    pal = bytes(c for rgb in palette for c in rgb)
    # GIF87 keeps convert from adding extension blocks. It also stores the
    # screen background as the palette index of -background, or 0 for a
    # colour the palette lacks, which is what the logo has.
    return gif_255(convert(miff(LOGO_W, LOGO_H, pal, pixels),
                           '-background', 'none', 'GIF87:-'))


# ---------------------------------------------------------------------------

def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)
    print('%-13s %6d bytes' % (name, len(data)))


def main():
    hand, hotspot = read_xpm('hand.xpm')
    hx, hy = hotspot
    # The hot spot must be the tip of the finger: an outline pixel with
    # nothing above it.
    assert hand[hy][hx] == '#000000' and hand[hy - 1][hx] == 'none'

    write('Horlomat.ico', icon_file([read_xpm('clock32.xpm')[0],
                                     read_xpm('clock16.xpm')[0]]))
    write('hand.cur', icon_file([hand], hotspots=[hotspot]))
    write('logo.gif', logo())


if __name__ == '__main__':
    main()
