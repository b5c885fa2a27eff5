#!/usr/bin/env python3
"""Draws the program icon, a red lantern on a gold cord, as a 64x64 32-bit icon with alpha.

Usage: python3 ui/make_icon.py ui/xiudeng.ico
Every pixel averages 4x4 samples, so the edges are smooth at this one size.
"""
import struct
import sys

SIZE = 64
SAMPLES = 4
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


def pixels():
    """Rows bottom-up, each pixel as straight-alpha BGRA."""
    rows = []
    for py in range(SIZE):
        row = bytearray()
        for px in range(SIZE):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c is not None:
                        covered += 1
                        total = [t + v for t, v in zip(total, c)]
            if covered:
                r, g, b = (round(t / covered) for t in total)
                row += bytes((b, g, r, round(255 * covered / SAMPLES**2)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(reversed(rows))


def icon():
    colour = pixels()
    mask = bytes(SIZE // 8 * SIZE)  # the alpha channel decides; the AND mask stays clear
    image = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(colour), 0, 0, 0, 0)
    image += colour + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(icon())
