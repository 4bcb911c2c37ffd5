#!/usr/bin/env python3
"""Draws QorSim's splash picture (splash.bmp): 300 x 216 pixels, 8 bits per
pixel with a 256-colour table - a blue field with a grid of dots and a
closed circuit of a source and a resistor in amber. The build runs it and
the resource compiler takes the picture from the build tree."""
import struct
import sys

WIDTH, HEIGHT = 300, 216
AMBER, DOT, WHITE = 250, 251, 252


def palette():
    colours = []
    for i in range(128):  # the background's gradient, dark to light blue
        colours.append((20 + i // 2, 40 + i // 2, 90 + i))
    colours += [(0, 0, 0)] * (250 - len(colours))
    colours += [(255, 176, 32), (150, 180, 230), (255, 255, 255)]
    colours += [(0, 0, 0)] * (256 - len(colours))
    return colours


def draw():
    pixels = [[(x + y) * 127 // (WIDTH + HEIGHT) for x in range(WIDTH)] for y in range(HEIGHT)]

    def dot(x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            pixels[y][x] = colour

    def line(x0, y0, x1, y1, colour=AMBER, width=3):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for s in range(steps + 1):
            x = x0 + (x1 - x0) * s // steps
            y = y0 + (y1 - y0) * s // steps
            for dx in range(-(width // 2), width // 2 + 1):
                for dy in range(-(width // 2), width // 2 + 1):
                    dot(x + dx, y + dy, colour)

    for y in range(12, HEIGHT, 16):
        for x in range(12, WIDTH, 16):
            dot(x, y, DOT)
    left, right, top, bottom = 60, 240, 60, 160
    # Top wire with a zigzag resistor in the middle.
    line(left, top, 110, top)
    zig = [(110, top)] + [(120 + 10 * i, top - 12 if i % 2 == 0 else top + 12) for i in range(7)]
    zig.append((190, top))
    for (x0, y0), (x1, y1) in zip(zig, zig[1:]):
        line(x0, y0, x1, y1)
    line(190, top, right, top)
    line(right, top, right, bottom)
    line(left, bottom, right, bottom)
    # Left wire with a source: a long and a short plate.
    line(left, top, left, 100)
    line(left - 20, 100, left + 20, 100, WHITE)
    line(left - 10, 112, left + 10, 112, WHITE)
    line(left, 112, left, bottom)
    # Ground under the bottom wire.
    line(150, bottom, 150, bottom + 20)
    for i, half in enumerate((18, 11, 4)):
        line(150 - half, bottom + 20 + 6 * i, 150 + half, bottom + 20 + 6 * i, WHITE, 1)
    return pixels


def main(path):
    stride = (WIDTH + 3) // 4 * 4
    rows = b"".join(bytes(row) + b"\0" * (stride - WIDTH) for row in reversed(draw()))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette())
    header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    offset = 14 + len(header) + len(table)
    with open(path, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset))
        out.write(header + table + rows)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "splash.bmp")
