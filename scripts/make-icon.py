#!/usr/bin/env python3
"""Writes src/ui/Quenzel.ico: one 16 x 16 image of 16 colours (the standard VGA
palette), a black frame around horizontal stripes like the benchmark's source
bitmap. Run it again after changing the picture; the output is byte-for-byte stable."""
import struct
import sys

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
STRIPES = [9, 11, 10, 14, 12, 13, 9, 11, 10, 14, 12, 13, 9, 11]


def pixel(x, y):
    if x in (0, 15) or y in (0, 15):
        return 0
    return STRIPES[y - 1]


def icon():
    width = height = 16
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    rows = []
    for y in reversed(range(height)):  # bottom-up
        row = bytearray()
        for x in range(0, width, 2):
            row.append(pixel(x, y) << 4 | pixel(x + 1, y))
        rows.append(bytes(row))
    xor = b"".join(rows)
    mask = b"\0\0\0\0" * height  # fully opaque; rows padded to 32 bits
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "src/ui/Quenzel.ico"
    with open(out, "wb") as f:
        f.write(icon())
