#!/usr/bin/env python3
"""Writes the busy dialog's looping animation (resource 142) as an AVI file.

A small framed landscape with a crop selection whose black-and-white dashes
march clockwise around it. The animation control plays only uncompressed or
RLE8 clips, so every frame is a plain 8-bit palettised DIB.

Usage: python3 make_busy_animation.py OUTPUT.avi
"""

import struct
import sys

WIDTH = 40
HEIGHT = 40
FRAME_COUNT = 12
FRAMES_PER_SECOND = 10

# The dashes repeat every DASH_PERIOD pixels and move one pixel a frame, so
# FRAME_COUNT must be a multiple of it for the loop to join without a jump.
DASH_LENGTH = 3
DASH_PERIOD = 6

# Palette indices. BACKGROUND must stay at the top-left pixel of the first
# frame: ACS_TRANSPARENT takes that pixel's colour as the transparent one.
BACKGROUND, BLACK, WHITE, FRAME, SHADOW, SKY, SKY_DIM, HILL, HILL_DIM, \
    SUN, SUN_DIM = range(11)

PALETTE = {
    BACKGROUND: 0xF0F0F0,  # dialog face colour of current Windows versions
    BLACK: 0x000000,
    WHITE: 0xFFFFFF,
    FRAME: 0x505050,
    SHADOW: 0xB4B4B4,
    SKY: 0x6EB4F0,
    SKY_DIM: 0xB6DAF8,
    HILL: 0x3C9A3C,
    HILL_DIM: 0x9DCC9D,
    SUN: 0xFFD21E,
    SUN_DIM: 0xFFE88E,
}

DIMMED = {SKY: SKY_DIM, HILL: HILL_DIM, SUN: SUN_DIM}

# Inclusive pixel rectangles (left, top, right, bottom). The selection's
# outline is 72 pixels long, a multiple of DASH_PERIOD, so the dashes keep
# their rhythm where the outline closes at the top-left corner.
PICTURE = (4, 7, 35, 32)
SELECTION = (10, 11, 29, 28)

AVIF_HASINDEX = 0x10
AVIIF_KEYFRAME = 0x10


def inside(rect, x, y):
    left, top, right, bottom = rect
    return left <= x <= right and top <= y <= bottom


def landscape_pixel(x, y):
    """Sky, sun and hill of the picture, in canvas coordinates."""
    # Tests on doubled coordinates hit pixel centres with integers only, which
    # keeps the output identical on every platform.
    px, py = 2 * x + 1, 2 * y + 1
    sun_x, sun_y, sun_r = 2 * 23, 2 * 16, 2 * 3
    if (px - sun_x) ** 2 + (py - sun_y) ** 2 <= sun_r ** 2:
        return SUN
    hill_x, hill_y, hill_rx, hill_ry = 2 * 14, 2 * 38, 2 * 15, 2 * 16
    if ((px - hill_x) ** 2 * hill_ry ** 2 + (py - hill_y) ** 2 * hill_rx ** 2
            <= hill_rx ** 2 * hill_ry ** 2):
        return HILL
    return SKY


def outline_position(x, y):
    """Distance of (x, y) along the selection's outline, clockwise from its
    top-left corner, or None when the pixel is not on the outline."""
    left, top, right, bottom = SELECTION
    width, height = right - left, bottom - top
    if y == top and left <= x <= right:
        return x - left
    if x == right and top < y <= bottom:
        return width + (y - top)
    if y == bottom and left <= x < right:
        return 2 * width + height + (right - x)
    if x == left and top < y < bottom:
        return 3 * width + height + (bottom - y)
    return None


def draw_frame(step):
    """Returns the frame's palette indices, top row first."""
    rows = []
    left, top, right, bottom = PICTURE
    for y in range(HEIGHT):
        row = bytearray(WIDTH)
        for x in range(WIDTH):
            position = outline_position(x, y)
            if position is not None:
                dash = (position - step) % DASH_PERIOD < DASH_LENGTH
                row[x] = BLACK if dash else WHITE
            elif x in (left, right) and top <= y <= bottom or \
                    y in (top, bottom) and left <= x <= right:
                row[x] = FRAME
            elif inside(PICTURE, x, y):
                colour = landscape_pixel(x, y)
                # What the crop would cut away is washed out.
                row[x] = colour if inside(SELECTION, x, y) else DIMMED[colour]
            elif inside((left + 1, top + 1, right + 1, bottom + 1), x, y):
                row[x] = SHADOW
            else:
                row[x] = BACKGROUND
        rows.append(row)
    return rows


def dib_bits(rows):
    """Bottom-up rows, each padded to a multiple of four bytes."""
    padding = bytes(-WIDTH % 4)
    return b"".join(bytes(row) + padding for row in reversed(rows))


def chunk(fourcc, data):
    # RIFF keeps every chunk on an even offset; the pad byte is not counted.
    return fourcc + struct.pack("<I", len(data)) + data + bytes(len(data) % 2)


def riff_list(list_type, *chunks):
    return chunk(b"LIST", list_type + b"".join(chunks))


def build_avi(frames):
    frame_size = len(frames[0])
    micro_seconds = 1000000 // FRAMES_PER_SECOND

    avih = struct.pack(
        "<10I16x",
        micro_seconds,
        frame_size * FRAMES_PER_SECOND,  # dwMaxBytesPerSec
        0,                               # dwPaddingGranularity
        AVIF_HASINDEX,
        len(frames),
        0,                               # dwInitialFrames
        1,                               # dwStreams
        frame_size,                      # dwSuggestedBufferSize
        WIDTH,
        HEIGHT)

    strh = struct.pack(
        "<4s4sIHHIIIIIIII4h",
        b"vids", b"DIB ",
        0, 0, 0,                         # dwFlags, wPriority, wLanguage
        0,                               # dwInitialFrames
        1, FRAMES_PER_SECOND,            # dwScale, dwRate
        0, len(frames),                  # dwStart, dwLength
        frame_size,                      # dwSuggestedBufferSize
        0xFFFFFFFF,                      # dwQuality: default
        0,                               # dwSampleSize: varies per chunk
        0, 0, WIDTH, HEIGHT)             # rcFrame

    bitmap_info = struct.pack(
        "<IiiHHIIiiII",
        40, WIDTH, HEIGHT, 1, 8,
        0,                               # BI_RGB
        frame_size, 0, 0,
        256, 0)
    palette = b"".join(
        struct.pack("<BBBx", rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16)
        for rgb in (PALETTE.get(i, 0) for i in range(256)))

    hdrl = riff_list(
        b"hdrl",
        chunk(b"avih", avih),
        riff_list(b"strl",
                  chunk(b"strh", strh),
                  chunk(b"strf", bitmap_info + palette)))

    # Index offsets count from the 'movi' fourcc, so the first chunk is at 4.
    movi_chunks = []
    index = []
    offset = 4
    for bits in frames:
        frame_chunk = chunk(b"00db", bits)
        index.append(struct.pack("<4sIII", b"00db", AVIIF_KEYFRAME,
                                 offset, len(bits)))
        movi_chunks.append(frame_chunk)
        offset += len(frame_chunk)

    body = (b"AVI " + hdrl + riff_list(b"movi", *movi_chunks)
            + chunk(b"idx1", b"".join(index)))
    return chunk(b"RIFF", body)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_busy_animation.py OUTPUT.avi\n")
        return 2
    if FRAME_COUNT % DASH_PERIOD:
        sys.stderr.write("frame count does not close the dash loop\n")
        return 1
    frames = [dib_bits(draw_frame(step)) for step in range(FRAME_COUNT)]
    with open(argv[1], "wb") as output:
        output.write(build_avi(frames))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
