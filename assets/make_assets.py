#!/usr/bin/env python3
"""Generate Horlomat's binary resources.

Writes three files next to this script:

  Horlomat.ico  program icon, a clock face at 32x32 and 16x16, 16 colours
  hand.cur      pointing-hand cursor for the link label, 32x32, 16 colours,
                hot spot at the fingertip (12, 1)
  logo.gif      Tesmar logo for the About box, 106x130, 256-colour palette

Run from the repository root:

    python3 assets/make_assets.py

Only the standard library is used and the output is byte-for-byte
reproducible, so regenerating unchanged art leaves git clean.
"""

import math
import os
import struct

OUT_DIR = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------
# 16-colour images (icon and cursor)
# ---------------------------------------------------------------------------

# The classic Windows 16-colour palette, in the order the system uses it.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Letters used in the pixel art below; '.' is transparent.
ART_COLOURS = {
    'K': 0,   # black
    'N': 4,   # navy
    'g': 7,   # light grey
    'G': 8,   # dark grey
    'R': 9,   # red
    'B': 12,  # blue
    'W': 15,  # white
}


def parse_art(text):
    rows = text.split()
    width = len(rows[0])
    assert all(len(r) == width for r in rows), "ragged pixel art"
    return rows


def dib_4bpp(rows):
    """Icon/cursor image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask.

    Transparent pixels get mask bit 1 and colour 0, so XOR-ing them onto the
    screen leaves it unchanged.
    """
    h = len(rows)
    w = len(rows[0])
    xor_stride = (w * 4 + 31) // 32 * 4
    and_stride = (w + 31) // 32 * 4
    xor_data = bytearray()
    and_data = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        idx = [0 if c == '.' else ART_COLOURS[c] for c in row]
        line = bytearray()
        for x in range(0, w, 2):
            hi = idx[x]
            lo = idx[x + 1] if x + 1 < w else 0
            line.append(hi << 4 | lo)
        xor_data += line.ljust(xor_stride, b'\0')
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            if c == '.':
                bits[x >> 3] |= 0x80 >> (x & 7)
        and_data += bits
    # The height counts both bitmaps, as icon resources expect.
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 4, 0,
                         len(xor_data) + len(and_data), 0, 0, 0, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA16)
    return header + palette + bytes(xor_data) + bytes(and_data)


def icon_file(images, kind, hotspots=None):
    """ICO (kind 1) or CUR (kind 2) container around 4-bpp images.

    For cursors the planes/bit-count fields of each directory entry carry
    the hot spot instead.
    """
    blobs = [dib_4bpp(rows) for rows in images]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for i, (rows, blob) in enumerate(zip(images, blobs)):
        w, h = len(rows[0]), len(rows)
        if kind == 2:
            f1, f2 = hotspots[i]
        else:
            f1, f2 = 1, 4
        out += struct.pack('<BBBBHHII', w & 0xFF, h & 0xFF, 16, 0, f1, f2,
                           len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


def clock_32():
    """32x32 clock face, rasterised on the pixel grid without smoothing.

    The centre sits on the corner between the four middle pixels, so
    everything is mirror-symmetric and both hands can use clean 2:1 pixel
    steps (10:10 puts them at +-60 degrees from vertical).
    """
    n, c = 32, 16.0
    disc = [[math.hypot(x + .5 - c, y + .5 - c) <= 15.9 for x in range(n)]
            for y in range(n)]

    # Peel the disc from the outside one 4-connected ring at a time; this
    # gives a rim of even thickness all the way round, which plain distance
    # thresholds do not.
    layer = [[None] * n for _ in range(n)]
    alive = [row[:] for row in disc]
    for k in range(4):
        peel = []
        for y in range(n):
            for x in range(n):
                if not alive[y][x]:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    xx, yy = x + dx, y + dy
                    if not (0 <= xx < n and 0 <= yy < n and alive[yy][xx]):
                        peel.append((x, y))
                        break
        for x, y in peel:
            layer[y][x] = k
            alive[y][x] = False

    minor = []
    for hour in range(12):
        if hour % 3:
            a = math.radians(hour * 30)
            minor.append((int(c + 10.5 * math.sin(a)), int(c - 10.5 * math.cos(a))))

    rows = []
    for y in range(n):
        row = ''
        for x in range(n):
            cx, cy = x + .5, y + .5
            ux, uy = cx - c, cy - c
            d = math.hypot(ux, uy)
            lit = ux + uy  # negative towards the top left, where light falls
            k = layer[y][x]
            if not disc[y][x]:
                ch = '.'
            elif k == 0:
                ch = 'K'
            elif k == 1:
                ch = 'B' if lit < -9 else 'N'
            elif k == 2:
                ch = 'N'
            elif (15 <= x <= 16 and (4 <= y <= 7 or 24 <= y <= 27)) or \
                 (15 <= y <= 16 and (4 <= x <= 7 or 24 <= x <= 27)):
                ch = 'K'                      # 12, 3, 6 and 9 o'clock
            elif d <= 0.8:
                ch = 'R'                      # pin
            elif d <= 1.6:
                ch = 'K'                      # hub
            elif ux > 0 and abs(cy - (c - ux / 2)) < 1.0 and d <= 9.9:
                ch = 'K'                      # minute hand at 2
            elif ux <= 0 and abs(cy - (c + ux / 2)) < 1.5 and d <= 7.5:
                ch = 'K'                      # hour hand near 10
            elif (x, y) in minor:
                ch = 'G'
            elif k == 3:
                ch = 'g' if lit < -6 else 'W'  # shadow under the bezel
            else:
                ch = 'W'
            row += ch
        rows.append(row)
    return rows


# Too small for the rasteriser to place hands and ticks well, so drawn by
# hand in the same style as the 32x32 version.
CLOCK_16 = parse_art('''
.....KKKKKK.....
...KKBBBNNNKK...
..KBBggKKWWNNK..
.KBggWWWWWWWWNK.
.KBgWWWWWWWWWNK.
KBgWWWWWWWWWKWNK
KBgWKKWWWWKKWWNK
KNKWWKKKKKWWWKNK
KNKWWWWKKWWWWKNK
KNWWWWWWWWWWWWNK
KNWWWWWWWWWWWWNK
.KNWWWWWWWWWWNK.
.KNWWWWWWWWWWNK.
..KNNWWKKWWNNK..
...KKNNNNNNKK...
.....KKKKKK.....
''')

HAND_HOTSPOT = (12, 1)
HAND_32 = parse_art('''
................................
............KK..................
...........KWWK.................
...........KWWK.................
...........KWWK.................
...........KWWK.................
...........KWWK.................
...........KWWKKK...............
...........KWWKWWKKK............
...........KWWKWWKWWKK..........
........KK.KWWKWWKWWKWK.........
.......KWWKKWWWWWWWWKWWK........
.......KWWWKWWWWWWWWWWWK........
........KWWWWWWWWWWWWWWK........
.........KWWWWWWWWWWWWWK........
.........KWWWWWWWWWWWWWK........
.........KWWWWWWWWWWWWK.........
..........KWWWWWWWWWWWK.........
..........KWWWWWWWWWWK..........
...........KWWWWWWWWWK..........
...........KWWWWWWWWWK..........
...........KKKKKKKKKKK..........
................................
................................
................................
................................
................................
................................
................................
................................
................................
................................
''')


# ---------------------------------------------------------------------------
# GIF
# ---------------------------------------------------------------------------

def lzw_encode(pixels, min_code_size=8):
    """Variable-length LZW as GIF wants it, packed LSB first."""
    clear = 1 << min_code_size
    eoi = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    table = {}
    next_code = eoi + 1
    code_size = min_code_size + 1
    emit(clear, code_size)
    prefix = None
    for p in pixels:
        if prefix is None:
            prefix = p
            continue
        key = (prefix, p)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, code_size)
        table[key] = next_code
        next_code += 1
        # The decoder adds each entry one code later than we do, so it is
        # ready for the wider codes exactly when we start sending them.
        if next_code > (1 << code_size) and code_size < 12:
            code_size += 1
        if next_code == 4096:
            # Table full: start over rather than keep coding without new
            # entries; every decoder handles this.
            emit(clear, code_size)
            table = {}
            next_code = eoi + 1
            code_size = min_code_size + 1
        prefix = p
    if prefix is not None:
        emit(prefix, code_size)
    emit(eoi, code_size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif_file(width, height, palette, pixels):
    assert len(palette) == 256 and len(pixels) == width * height
    out = bytearray(b'GIF87a')
    # Global colour table present, 8 bits per primary, 256 entries.
    out += struct.pack('<HHBBB', width, height, 0xF7, 0, 0)
    for rgb in palette:
        out += bytes(rgb)
    out += b',' + struct.pack('<HHHHB', 0, 0, width, height, 0)
    out.append(8)
    data = lzw_encode(pixels, 8)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    out += b';'
    return bytes(out)


# ---------------------------------------------------------------------------
# Logo
# ---------------------------------------------------------------------------

LOGO_W, LOGO_H = 106, 130

# Everything in the logo is white laid over a vertical blue gradient, so the
# palette is 17 gradient steps x 15 white-over-blue blends plus pure white:
# exactly 256 colours, and edges can still be smoothed. Blends are in
# sixteenths to match the 4x4 supersampling; 15/16 is drawn as white, which
# keeps the near-white blends of neighbouring steps from rounding to the
# same colour.
SS = 4
GRAD_STEPS = 17
BLEND_STEPS = 15
GRAD_TOP = (48, 116, 196)
GRAD_BOTTOM = (14, 44, 98)

# Geometric sans with 2-pixel strokes: cap height 14, x-height 10.
GLYPHS = {
    'T': '''
XXXXXXXXXX
XXXXXXXXXX
....XX....
....XX....
....XX....
....XX....
....XX....
....XX....
....XX....
....XX....
....XX....
....XX....
....XX....
....XX....
''',
    'e': '''
.XXXXXX.
XXXXXXXX
XX....XX
XX....XX
XXXXXXXX
XXXXXXXX
XX......
XX......
XXXXXXXX
.XXXXXXX
''',
    's': '''
.XXXXXXX
XXXXXXXX
XX......
XX......
XXXXXXX.
.XXXXXXX
......XX
......XX
XXXXXXXX
XXXXXXX.
''',
    'm': '''
XXXXXXXXXXX.
XXXXXXXXXXXX
XX...XX...XX
XX...XX...XX
XX...XX...XX
XX...XX...XX
XX...XX...XX
XX...XX...XX
XX...XX...XX
XX...XX...XX
''',
    'a': '''
XXXXXXX.
XXXXXXXX
......XX
......XX
.XXXXXXX
XXXXXXXX
XX....XX
XX....XX
XXXXXXXX
.XXXXXXX
''',
    'r': '''
.XXXXX
XXXXXX
XX....
XX....
XX....
XX....
XX....
XX....
XX....
XX....
''',
}


def text_mask(word, baseline, spacing=2):
    """Set of (x, y) pixels covered by word, centred horizontally."""
    glyphs = [parse_art(GLYPHS[ch]) for ch in word]
    total = sum(len(g[0]) for g in glyphs) + spacing * (len(glyphs) - 1)
    x0 = (LOGO_W - total) // 2
    pixels = set()
    for g in glyphs:
        top = baseline - len(g) + 1
        for gy, row in enumerate(g):
            for gx, ch in enumerate(row):
                if ch == 'X':
                    pixels.add((x0 + gx, top + gy))
        x0 += len(g[0]) + spacing
    return pixels


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

    text = text_mask('Tesmar', baseline=109)

    pixels = []
    for y in range(LOGO_H):
        t = min(GRAD_STEPS - 1, y * GRAD_STEPS // LOGO_H)
        for x in range(LOGO_W):
            if (x, y) in text:
                pixels.append(white)
                continue
            hits = 0
            for sy in range(SS):
                for sx in range(SS):
                    if white_at(x + (sx + .5) / SS, y + (sy + .5) / SS):
                        hits += 1
            pixels.append(white if hits >= BLEND_STEPS else t * BLEND_STEPS + hits)
    return gif_file(LOGO_W, LOGO_H, palette, pixels)


# ---------------------------------------------------------------------------

def write(name, data):
    path = os.path.join(OUT_DIR, name)
    with open(path, 'wb') as f:
        f.write(data)
    print('%-13s %6d bytes' % (name, len(data)))


def main():
    hx, hy = HAND_HOTSPOT
    # The hot spot must be the tip of the finger: an outline pixel with
    # nothing above it.
    assert HAND_32[hy][hx] == 'K' and HAND_32[hy - 1][hx] == '.'

    write('Horlomat.ico', icon_file([clock_32(), CLOCK_16], kind=1))
    write('hand.cur', icon_file([HAND_32], kind=2, hotspots=[HAND_HOTSPOT]))
    write('logo.gif', logo())


if __name__ == '__main__':
    main()
