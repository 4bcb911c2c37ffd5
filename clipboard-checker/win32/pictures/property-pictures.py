#!/usr/bin/env python3
"""Draws the setup dialog's property pictures: one 16 x 16 bitmap per
property kind ("PROP_1" .. "PROP_12", numbered as the item lines' type
codes), a coloured tag with the kind's letter, and the resource script that
names them.

Usage: property-pictures.py <output folder>
"""
import os
import struct
import sys

# 3 x 5 letters, one string of "#" and "." per row.
GLYPHS = {
    "I": ["###", ".#.", ".#.", ".#.", "###"],
    "C": [".##", "#..", "#..", "#..", ".##"],
    "E": ["###", "#..", "##.", "#..", "###"],
    "F": ["###", "#..", "##.", "#..", "#.."],
    "S": [".##", "#..", ".#.", "..#", "##."],
    "[": ["##.", "#..", "#..", "#..", "##."],
    "O": [".#.", "#.#", "#.#", "#.#", ".#."],
    "M": ["#.#", "###", "#.#", "#.#", "#.#"],
    "W": ["#.#", "#.#", "#.#", "###", "#.#"],
    "L": ["#..", "#..", "#..", "#..", "###"],
    "U": ["#.#", "#.#", "#.#", "#.#", "###"],
    "V": ["#.#", "#.#", "#.#", "#.#", ".#."],
}

# Type code: letter and tag colour (red, green, blue).
KINDS = {
    1: ("I", (0, 96, 192)),     # integer
    2: ("C", (0, 128, 128)),    # character
    3: ("E", (128, 0, 128)),    # enumeration
    4: ("F", (0, 128, 0)),      # floating point
    5: ("S", (160, 96, 0)),     # short string
    6: ("[", (192, 0, 64)),     # set
    7: ("O", (96, 64, 32)),     # object
    8: ("M", (64, 64, 64)),     # method
    9: ("W", (0, 112, 160)),    # wide character
    10: ("L", (176, 80, 0)),    # long string
    11: ("U", (128, 96, 0)),    # wide string
    12: ("V", (80, 0, 160)),    # variant
}

SIZE = 16
WHITE = (255, 255, 255)
FRAME = (0, 0, 0)


def picture(letter, colour):
    pixels = [[WHITE] * SIZE for _ in range(SIZE)]
    for y in range(1, 15):
        for x in range(1, 15):
            edge = x in (1, 14) or y in (1, 14)
            pixels[y][x] = FRAME if edge else colour
    # The letter at twice its size, centred: 6 x 10 from (5, 3).
    for row, line in enumerate(GLYPHS[letter]):
        for column, mark in enumerate(line):
            if mark == "#":
                for dy in range(2):
                    for dx in range(2):
                        pixels[3 + row * 2 + dy][5 + column * 2 + dx] = WHITE
    return pixels


def bmp(pixels):
    stride = (SIZE * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for red, green, blue in row:
            line += bytes((blue, green, red))
        data += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + header + data


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    script = []
    for code, (letter, colour) in sorted(KINDS.items()):
        name = "PROP_%d" % code
        with open(os.path.join(folder, name + ".bmp"), "wb") as out:
            out.write(bmp(picture(letter, colour)))
        path = os.path.abspath(os.path.join(folder, name + ".bmp")).replace("\\", "/")
        script.append('%s BITMAP "%s"' % (name, path))
    with open(os.path.join(folder, "property-pictures.rc"), "w") as out:
        out.write("\n".join(script) + "\n")


if __name__ == "__main__":
    main()
