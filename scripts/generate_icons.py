#!/usr/bin/env python3
"""Draws the program's 163 point icons, data/icons/N.png, 32 x 32 pixels with alpha.

Icon n is shape (n - 1) // 12 in colour (n - 1) % 12: fourteen outlines (pins
first, as a map reader expects), each filled with twelve colours and edged with a
darker line so that it stands out on imagery. The white ones take the class colour
a style gives them. Each pixel is the mean of 4 x 4 samples.

Usage: scripts/generate_icons.py [FOLDER]   (default: data/icons beside this script)
"""

import math
import os
import struct
import sys
import zlib

SIZE = 32
SAMPLES = 4
EDGE = 1.6  # outline width, pixels

COLOURS = [
    (250, 210, 40),   # yellow: icon 1, the default pin
    (225, 50, 45),    # red
    (245, 140, 30),   # orange
    (60, 170, 70),    # green
    (45, 110, 215),   # blue
    (255, 255, 255),  # white: icon 114, the default symbol
    (145, 75, 195),   # purple
    (40, 200, 215),   # cyan
    (240, 120, 180),  # pink
    (150, 95, 50),    # brown
    (150, 150, 150),  # grey
    (35, 35, 35),     # black
]


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def polygon(points):
    """Signed distance of a convex or concave polygon: negative inside."""
    edges = list(zip(points, points[1:] + points[:1]))

    def distance(x, y):
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        d = min(segment_distance(x, y, ax, ay, bx, by) for (ax, ay), (bx, by) in edges)
        return -d if inside else d
    return distance


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def regular(n, r, cx=16.0, cy=16.0, turn=-math.pi / 2, inner=None):
    points = []
    for i in range(n * (2 if inner else 1)):
        a = turn + i * math.pi * 2 / (n * (2 if inner else 1))
        radius = inner if inner and i % 2 else r
        points.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return polygon(points)


def pushpin():
    # A round head on a needle whose point is the place.
    return union(circle(16, 10, 8), polygon([(14.6, 16), (17.4, 16), (16.3, 30), (15.7, 30)]))


def marker():
    # The teardrop marker of web maps, with a hole.
    body = union(circle(16, 12, 9), polygon([(8.2, 16.5), (23.8, 16.5), (16, 30)]))
    return minus(body, circle(16, 12, 3.2))


SHAPES = [
    pushpin(),
    marker(),
    polygon([(6, 6), (26, 6), (26, 26), (6, 26)]),                       # square
    regular(3, 13, cy=18),                                                # triangle
    polygon([(16, 3), (29, 16), (16, 29), (3, 16)]),                      # diamond
    regular(5, 14, cy=17, inner=6),                                       # star
    union(polygon([(12, 4), (20, 4), (20, 28), (12, 28)]),
          polygon([(4, 12), (28, 12), (28, 20), (4, 20)])),               # plus
    regular(5, 12.5, cy=17),                                              # pentagon
    regular(6, 12.5, turn=0),                                             # hexagon
    circle(16, 16, 10),                                                   # circle
    minus(circle(16, 16, 12), circle(16, 16, 6)),                         # ring
    union(polygon([(7, 3), (10, 3), (10, 29), (7, 29)]),
          polygon([(10, 4), (27, 9.5), (10, 15)])),                       # flag
    polygon([(16, 3), (29, 15), (25, 15), (25, 28), (7, 28), (7, 15), (3, 15)]),  # house
    polygon([(16, 3), (28, 16), (20, 16), (20, 29), (12, 29), (12, 16), (4, 16)]),  # arrow
]


def darker(colour):
    if sum(colour) < 200:
        return (235, 235, 235)
    return tuple(int(c * 0.45) for c in colour)


def draw(shape, fill):
    edge = darker(fill)
    rows = []
    step = 1.0 / SAMPLES
    for py in range(SIZE):
        row = bytearray()
        for px in range(SIZE):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    d = shape(px + (sx + 0.5) * step, py + (sy + 0.5) * step)
                    if d <= 0:
                        c = fill if d < -EDGE else edge
                        r += c[0]; g += c[1]; b += c[2]; a += 1
            n = SAMPLES * SAMPLES
            if a:
                row += bytes((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "icons")
    os.makedirs(folder, exist_ok=True)
    for n in range(1, 164):
        shape = SHAPES[(n - 1) // len(COLOURS)]
        fill = COLOURS[(n - 1) % len(COLOURS)]
        with open(os.path.join(folder, f"{n}.png"), "wb") as f:
            f.write(png(draw(shape, fill)))


if __name__ == "__main__":
    main()
