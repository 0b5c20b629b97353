#!/usr/bin/env python3
"""Draws the program's icon and its two cursors and writes them as .ico/.cur.

The pictures are small enough to describe as text; run this after changing one.
"""
import struct

RIGHT_ARROW = """
...............X
..............XX
.............X.X
............X..X
...........X...X
..........X....X
.........X.....X
........X......X
.......X.......X
......X........X
.....X.........X
....X......XXXXX
.........X..X..X
........X..X.X.X
.......X..X...XX
......XXXX.....X
"""

DRAG_SEL_COPY = """
X...............
XX..............
X.X.............
X..X............
X...X...........
X....X..........
X.....X.........
X......X........
X....XXXX.......
X..X..X.........
X.X.X..X........
XX..X..X........
X....XX.........
......XXXXXXX...
......X..X..X...
......X.XXX.X...
......X..X..X...
......XXXXXXX...
"""


def parse(art):
    rows = [r for r in art.strip("\n").split("\n")]
    return [[c == "X" for c in r.ljust(32, ".")[:32]] for r in rows] + [[False] * 32] * (32 - len(rows))


def mono_bitmap(pix):
    # 32x32 1 bpp: XOR mask (black outline, white fill inside), AND mask.
    h = 32
    fill = [[False] * 32 for _ in range(32)]
    for y in range(32):
        row = pix[y]
        xs = [x for x in range(32) if row[x]]
        if len(xs) >= 2:
            for x in range(xs[0], xs[-1] + 1):
                fill[y][x] = True
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    xor = b""
    andm = b""
    for y in range(h - 1, -1, -1):
        xbits = abits = 0
        for x in range(32):
            inside = fill[y][x]
            outline = pix[y][x]
            white = inside and not outline
            xbits = (xbits << 1) | (1 if white else 0)
            abits = (abits << 1) | (0 if inside or outline else 1)
        xor += struct.pack(">I", xbits)
        andm += struct.pack(">I", abits)
    return header + palette + xor + andm


def write_cur(path, art, hot):
    bmp = mono_bitmap(parse(art))
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", 32, 32, 2, 0, hot[0], hot[1], len(bmp), 22))
        f.write(bmp)


def write_icon(path):
    # 32x32, 32 bpp: a memo sheet with ruled lines and a folded corner.
    size = 32
    px = []
    for y in range(size):
        for x in range(size):
            a = 0
            r = g = b = 0
            if 4 <= x <= 27 and 2 <= y <= 29 and not (x > 21 and y < 2 + (x - 21)):
                r, g, b, a = 255, 246, 170, 255
                if x in (4, 27) or y in (2, 29):
                    r, g, b = 120, 100, 40
                elif y % 5 == 1 and 7 <= x <= 24:
                    r, g, b = 90, 120, 200
                if x > 21 and y == 2 + (x - 21):
                    r, g, b = 120, 100, 40
            px.append((b, g, r, a))
    rows = [px[y * size:(y + 1) * size] for y in range(size)]
    data = b"".join(bytes(c) for y in range(size - 1, -1, -1) for p in [rows[y]] for c in p)
    andmask = b"\0" * (4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(data) + len(andmask), 0, 0, 0, 0)
    img = header + data + andmask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), 22))
        f.write(img)


if __name__ == "__main__":
    import os
    here = os.path.dirname(os.path.abspath(__file__))
    # The cursors belong to the editor control, which has resources of its own.
    editor = os.path.join(here, "..", "..", "..", "editor", "res")
    write_cur(os.path.join(editor, "RightArrow.cur"), RIGHT_ARROW, (15, 0))
    write_cur(os.path.join(editor, "DragSelCopy.cur"), DRAG_SEL_COPY, (0, 0))
    write_icon(os.path.join(here, "velmorind.ico"))
