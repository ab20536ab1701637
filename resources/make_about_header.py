#!/usr/bin/env python3
"""Draws the program's brand pictures as 24-bit BMPs:

- header: the About box's header (bitmap resource 160), a band in the
  program's blues with its icon and its name;
- side: the installer's welcome and finish pictures, the same upright.

The icon comes from ICON.ico (the 32 x 32 image); the name is drawn here with
a small geometric stroke font so that no font or picture from elsewhere is
needed.

Usage: python3 make_about_header.py ICON.ico OUTPUT.bmp [header|side]
"""

import math
import struct
import sys

# Each picture: its size, whether its colours run down rather than across,
# where the icon's top left corner goes and where the name starts on its
# baseline. The header is 189 x 41 dialog units of the dialog font at 96
# dots per inch; the side picture is the installer's 164 x 314 pixels.
LAYOUTS = {
    'header': {'size': (284, 67), 'down': False, 'icon': (18, 17), 'name': (64, 48)},
    'side': {'size': (164, 314), 'down': True, 'icon': (18, 28), 'name': (18, 110)},
}
LEFT_COLOUR = (0x20, 0x4A, 0x87)   # Tango sky blue, dark
RIGHT_COLOUR = (0x72, 0x9F, 0xCF)  # Tango sky blue, light
TEXT_COLOUR = (0xFF, 0xFF, 0xFF)
ICON_SIZE = 32
CAP_HEIGHT = 30      # pixels from baseline to the top of T and l
STROKE = 0.13        # in cap heights
SAMPLES = 4          # per pixel and axis, for smooth edges


def arc(cx, cy, r, start, end, steps=16):
    """Points of an arc, angles in degrees counter-clockwise from the right."""
    return [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + r * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


# Each glyph: its advance width and its strokes (polylines), in cap heights
# with the baseline at y = 0.
GLYPHS = {
    'T': (0.62, [[(0, 1), (0.62, 1)], [(0.31, 1), (0.31, 0)]]),
    'r': (0.36, [[(0, 0), (0, 0.58)], arc(0.3, 0.28, 0.3, 180, 90, 8)]),
    'i': (0.0, [[(0, 0), (0, 0.58)], [(0, 0.80), (0, 0.82)]]),
    'm': (0.78, [[(0, 0), (0, 0.58)],
                 arc(0.195, 0.385, 0.195, 180, 0, 10) + [(0.39, 0)],
                 arc(0.585, 0.385, 0.195, 180, 0, 10) + [(0.78, 0)]]),
    'l': (0.0, [[(0, 0), (0, 1)]]),
    'e': (0.56, [[(0.02, 0.29), (0.56, 0.29)], arc(0.29, 0.29, 0.29, 0, 325, 28)]),
    't': (0.3, [[(0.1, 0.86), (0.1, 0.14)] + arc(0.26, 0.14, 0.16, 180, 290, 6)[1:],
                [(0, 0.58), (0.3, 0.58)]]),
}
SPACING = 0.14


def text_strokes(text):
    """The text's strokes, placed one glyph after the other."""
    strokes, x = [], 0.0
    for letter in text:
        advance, glyph = GLYPHS[letter]
        strokes += [[(x + px, py) for px, py in line] for line in glyph]
        x += advance + SPACING + STROKE
    return strokes


def coverage(strokes, left, baseline):
    """Per pixel, how much of it the strokes cover (0 to 1)."""
    grid = {}
    half = STROKE * CAP_HEIGHT / 2
    for line in strokes:
        points = [(left + x * CAP_HEIGHT, baseline - y * CAP_HEIGHT) for x, y in line]
        for (ax, ay), (bx, by) in zip(points, points[1:] or points):
            x0, x1 = int(min(ax, bx) - half - 1), int(max(ax, bx) + half + 2)
            y0, y1 = int(min(ay, by) - half - 1), int(max(ay, by) + half + 2)
            dx, dy = bx - ax, by - ay
            length = dx * dx + dy * dy
            for py in range(y0 * SAMPLES, y1 * SAMPLES):
                sy = (py + 0.5) / SAMPLES
                for px in range(x0 * SAMPLES, x1 * SAMPLES):
                    sx = (px + 0.5) / SAMPLES
                    t = 0.0 if length == 0 else max(0.0, min(1.0, ((sx - ax) * dx + (sy - ay) * dy) / length))
                    if (sx - ax - t * dx) ** 2 + (sy - ay - t * dy) ** 2 <= half * half:
                        grid[(px, py)] = True
    cover = {}
    for px, py in grid:
        key = (px // SAMPLES, py // SAMPLES)
        cover[key] = cover.get(key, 0) + 1.0 / (SAMPLES * SAMPLES)
    return cover


def read_icon(path):
    """The icon's 32 x 32 image as rows of (r, g, b, a), top row first."""
    data = open(path, 'rb').read()
    for i in range(struct.unpack('<H', data[4:6])[0]):
        width, height, _, _, _, bits, size, offset = struct.unpack('<BBBBHHII', data[6 + 16 * i:22 + 16 * i])
        if width == ICON_SIZE and bits == 32:
            header = struct.unpack('<I', data[offset:offset + 4])[0]
            pixels = data[offset + header:offset + header + ICON_SIZE * ICON_SIZE * 4]
            rows = [[tuple(pixels[(y * ICON_SIZE + x) * 4 + k] for k in (2, 1, 0, 3))
                     for x in range(ICON_SIZE)] for y in range(ICON_SIZE)]
            return rows[::-1]
    raise SystemExit('no 32 x 32 image of 32 bits in ' + path)


def blend(under, over, alpha):
    return tuple(round(u + (o - u) * alpha) for u, o in zip(under, over))


def main():
    if len(sys.argv) not in (3, 4):
        raise SystemExit(__doc__)
    layout = LAYOUTS[sys.argv[3] if len(sys.argv) == 4 else 'header']
    width, height = layout['size']
    picture = [[blend(LEFT_COLOUR, RIGHT_COLOUR, y / (height - 1) if layout['down'] else x / (width - 1))
                for x in range(width)] for y in range(height)]
    left, top = layout['icon']
    for y, row in enumerate(read_icon(sys.argv[1])):
        for x, (r, g, b, a) in enumerate(row):
            picture[top + y][left + x] = blend(picture[top + y][left + x], (r, g, b), a / 255)
    for (x, y), amount in coverage(text_strokes('Trimlet'), *layout['name']).items():
        if 0 <= x < width and 0 <= y < height:
            picture[y][x] = blend(picture[y][x], TEXT_COLOUR, min(1.0, amount))
    stride = (width * 3 + 3) & ~3
    rows = b''.join(bytes(c for pixel in row for c in pixel[::-1]).ljust(stride, b'\0')
                    for row in picture[::-1])
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
    with open(sys.argv[2], 'wb') as out:
        out.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(rows), 0, 0, 14 + len(header)))
        out.write(header + rows)


if __name__ == '__main__':
    main()
