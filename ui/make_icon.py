#!/usr/bin/env python3
"""Draws the program icon, a red lantern on a gold cord, as 32-bit images with alpha at 16, 32, 48
and 64 pixels (64 is the tray's), so that Windows never has to shrink a larger one.

Usage: python3 ui/make_icon.py ui/xiudeng.ico
The shapes are drawn on a 64-unit grid; every pixel averages 4x4 samples per unit it covers, so
the edges stay smooth at every size.
"""
import struct
import sys

GRID = 64
SIZES = (16, 32, 48, 64)
SAMPLES = 4  # per grid unit and direction
GOLD = (222, 170, 52)
DARK_GOLD = (168, 118, 30)
RED_CENTRE = (242, 84, 52)
RED_EDGE = (158, 22, 24)
RIB = (120, 14, 18)
CX, CY, RX, RY = 32.0, 32.0, 24.0, 19.0  # the lantern's body, an ellipse


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def colour_at(x, y):
    """The colour of the topmost shape at (x, y), or None where the icon is transparent."""
    # Tassel: gold strands below the bottom cap.
    if 56 <= y < 63 and 28.5 <= x < 35.5 and int(x) % 2 == 0:
        return mix(GOLD, DARK_GOLD, (y - 56) / 7)
    # Caps above and below the body.
    if (8 <= y < 14 or 50 <= y < 56) and 21 <= x < 43:
        rim = x < 22 or x >= 42 or 13 <= y < 14 or 50 <= y < 51
        return DARK_GOLD if rim else GOLD
    # Cord.
    if 1 <= y < 8 and 31 <= x < 33:
        return GOLD
    dx, dy = (x - CX) / RX, (y - CY) / RY
    r = dx * dx + dy * dy
    if r > 1:
        return None
    # Ribs: two inner ellipse outlines and the middle line give the paper its folds.
    for rib_rx in (RX * 0.55, 0.0):
        if rib_rx:
            inner = ((x - CX) / rib_rx) ** 2 + dy * dy
            if abs(inner - 1) < 0.09:
                return RIB
        elif abs(x - CX) < 0.6:
            return RIB
    return mix(RED_CENTRE, RED_EDGE, r ** 1.5)


def pixels(size):
    """Rows bottom-up, each pixel as straight-alpha BGRA."""
    unit = GRID / size
    samples = SAMPLES * GRID // size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) * unit,
                                  (py + (sy + 0.5) / samples) * unit)
                    if c is not None:
                        covered += 1
                        total = [t + v for t, v in zip(total, c)]
            if covered:
                r, g, b = (round(t / covered) for t in total)
                row += bytes((b, g, r, round(255 * covered / samples**2)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(reversed(rows))


def image(size):
    colour = pixels(size)
    # The alpha channel decides; the AND mask stays clear. Its rows are padded to 32 bits.
    mask = bytes((size + 31) // 32 * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour), 0, 0, 0, 0)
    return header + colour + mask


def icon():
    images = [image(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(icon())
