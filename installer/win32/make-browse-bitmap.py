#!/usr/bin/python3
"""Writes the browse button's bitmap: a 16 x 16 folder, 24-bit BMP."""
import struct
import sys

WIDTH = HEIGHT = 16
rows = []
for y in range(HEIGHT):  # bottom-up
    top = HEIGHT - 1 - y
    row = b""
    for x in range(WIDTH):
        inside = 3 <= top <= 13 and 1 <= x <= 14
        tab = top == 2 and 1 <= x <= 6
        colour = (0x30, 0xC0, 0xF0) if inside or tab else (0xC0, 0xC0, 0xC0)  # B, G, R
        if (inside and (top in (3, 13) or x in (1, 14))) or tab:
            colour = (0x00, 0x60, 0x80)
        row += bytes(colour)
    rows.append(row)
pixels = b"".join(rows)
header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
with open(sys.argv[1], "wb") as f:
    f.write(header + info + pixels)
