#!/usr/bin/env python3
"""Draws the six cursors of Kalvo/3D and writes them as Windows cursor files into data/.

Each cursor is 32 x 32 pixels, 32-bit with an alpha channel and an AND mask, one image per
file, type 2 (cursor) with its hotspot in the directory entry. Shapes are white with a black
outline so that they show on any background.

Run from anywhere: python3 scripts/make_cursors.py
"""

import math
import os
import struct

SIZE = 32
TRANSPARENT, WHITE, BLACK = 0, 1, 2


class Canvas:
    def __init__(self):
        self.fill = [[False] * SIZE for _ in range(SIZE)]
        self.ink = [[False] * SIZE for _ in range(SIZE)]

    def polygon(self, points):
        """Fills a polygon given in pixel-edge coordinates (sampled at pixel centres)."""
        for y in range(SIZE):
            for x in range(SIZE):
                if inside(points, x + 0.5, y + 0.5):
                    self.fill[y][x] = True

    def ellipse(self, cx, cy, rx, ry, hole=False):
        for y in range(SIZE):
            for x in range(SIZE):
                dx = (x + 0.5 - cx) / rx
                dy = (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    if hole:
                        self.fill[y][x] = False
                    else:
                        self.fill[y][x] = True

    def rect(self, x0, y0, x1, y1):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def line(self, x0, y0, x1, y1, width=1):
        """Black line between pixel centres, drawn over the fill."""
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x = x0 + (x1 - x0) * t
            y = y0 + (y1 - y0) * t
            for oy in range(width):
                for ox in range(width):
                    px, py = int(round(x)) + ox, int(round(y)) + oy
                    if 0 <= px < SIZE and 0 <= py < SIZE:
                        self.ink[py][px] = True
                        self.fill[py][px] = True

    def dot(self, x, y):
        self.ink[y][x] = True
        self.fill[y][x] = True

    def pixels(self):
        """White fill, black where ink was drawn or where the fill borders the outside."""
        out = [[TRANSPARENT] * SIZE for _ in range(SIZE)]
        for y in range(SIZE):
            for x in range(SIZE):
                if not self.fill[y][x]:
                    continue
                edge = False
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    if not (0 <= nx < SIZE and 0 <= ny < SIZE) or not self.fill[ny][nx]:
                        edge = True
                out[y][x] = BLACK if edge or self.ink[y][x] else WHITE
        return out


def inside(points, px, py):
    result = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > py) != (yj > py):
            cross = (xj - xi) * (py - yi) / (yj - yi) + xi
            if px < cross:
                result = not result
        j = i
    return result


ARROW = [(0, 0), (0, 19), (5, 15), (8, 22), (11, 21), (8, 14), (14, 14)]


def hand():
    """Open hand for moving the view (Space held); hotspot in the palm."""
    c = Canvas()
    c.ellipse(16, 20, 9, 8)
    for x0, top in ((7, 6), (11, 3), (15, 2), (19, 4)):
        c.rect(x0, top, x0 + 4, 18)
        c.ellipse(x0 + 2, top + 0.5, 2, 2)
    c.polygon([(22, 20), (28, 12), (31, 14), (25, 24)])
    for x0 in (11, 15, 19):
        c.line(x0, 8, x0, 16)
    return c, (16, 16)


def view():
    """An eye: the viewpoint cursor of the perspective pane; hotspot at the pupil."""
    c = Canvas()
    c.ellipse(16, 16, 15, 8)
    c.ellipse(16, 16, 13, 6, hole=True)
    c.ellipse(16, 16, 5, 5)
    c.ellipse(16, 16, 3, 3, hole=True)
    c.ellipse(16, 16, 2, 2)
    for y in range(14, 19):
        for x in range(14, 19):
            if c.fill[y][x]:
                c.ink[y][x] = True
    return c, (16, 16)


def pickup():
    """Pointing hand for picking points; hotspot at the fingertip."""
    c = Canvas()
    c.rect(10, 2, 15, 18)
    c.ellipse(12.5, 2.5, 2.5, 2.5)
    c.rect(15, 11, 19, 20)
    c.rect(19, 12, 23, 21)
    c.rect(23, 13, 27, 22)
    c.polygon([(5, 15), (8, 13), (11, 18), (11, 22), (8, 20)])
    c.polygon([(8, 18), (27, 18), (27, 25), (23, 31), (12, 31)])
    for x0 in (15, 19, 23):
        c.line(x0, 14, x0, 19)
    return c, (12, 0)


def edge_select():
    """Arrow with an edge beside it; hotspot at the arrow's tip."""
    c = Canvas()
    c.polygon(ARROW)
    c.rect(15, 24, 19, 28)
    c.rect(26, 13, 30, 17)
    c.line(17, 26, 28, 15, width=2)
    return c, (0, 0)


def point_select():
    """Arrow with a point beside it; hotspot at the arrow's tip."""
    c = Canvas()
    c.polygon(ARROW)
    c.rect(18, 18, 27, 27)
    for y in range(21, 24 + 1):
        for x in range(21, 24 + 1):
            c.ink[y][x] = True
    return c, (0, 0)


def pen():
    """Pencil for painting on the template; hotspot at the lead."""
    c = Canvas()
    a = math.radians(45)
    ux, uy = math.cos(a), -math.sin(a)  # along the pencil, towards the top right
    vx, vy = -uy, ux                    # across it
    tip = (0.5, 31.5)

    def at(along, across):
        return (tip[0] + ux * along + vx * across, tip[1] + uy * along + vy * across)

    c.polygon([at(0, 0), at(9, -4), at(40, -4), at(40, 4), at(9, 4)])
    for along in (9, 34):
        x0, y0 = at(along, -4)
        x1, y1 = at(along, 4)
        c.line(x0, y0, x1, y1)
    x0, y0 = at(0.5, 0)
    c.line(x0, y0, *at(4, 0))
    return c, (0, 31)


def cursor_file(canvas, hotspot):
    pixels = canvas.pixels()
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        bits = 0
        for x in range(SIZE):
            p = pixels[y][x]
            if p == WHITE:
                colour += bytes((255, 255, 255, 255))
            elif p == BLACK:
                colour += bytes((0, 0, 0, 255))
            else:
                colour += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(image),
                        6 + 16)
    return directory + entry + image


CURSORS = {
    "HAND.cur": hand,
    "VIEW.cur": view,
    "PICKUP.cur": pickup,
    "ESel.cur": edge_select,
    "PSel.cur": point_select,
    "Pen.cur": pen,
}


def main():
    data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    for name, draw in CURSORS.items():
        canvas, hotspot = draw()
        with open(os.path.join(data, name), "wb") as f:
            f.write(cursor_file(canvas, hotspot))


if __name__ == "__main__":
    main()
