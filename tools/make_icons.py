#!/usr/bin/env python3
"""Draws Tarnby's icons and writes them as .ico files (Python 3 standard library only).

Every picture is described once, in a 32 x 32 design grid, as a list of simple
shapes (discs, rings, arcs, thick lines, polygons, rounded boxes, tiny pixel
text). The rasteriser samples each pixel on a fine sub-grid, so the same
description gives smooth images at 16, 20, 24, 32 and 48 pixels. Strokes are
bold on purpose: the tray shows the 16-pixel image.

    python3 tools/make_icons.py            # writes resources/icons/*.ico
    python3 tools/make_icons.py --sheet x.png   # also a contact sheet to look at
"""

import argparse
import math
import os
import struct
import zlib

SIZES = (16, 20, 24, 32, 48)
SUPER = 6  # sub-samples per pixel along each axis

# ---------------------------------------------------------------- colours

def rgb(hex_text, alpha=255):
    value = int(hex_text.lstrip("#"), 16)
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255, alpha)


WHITE = rgb("ffffff")
BLACK = rgb("101010")
OUTLINE = rgb("202020")
RED = rgb("e02020")
DARK_RED = rgb("901010")
GREEN = rgb("20a040")
DARK_GREEN = rgb("106020")
BLUE = rgb("2060d0")
NAVY = rgb("1a2a6a")
SKY = rgb("40c0f0")
YELLOW = rgb("ffd020")
GOLD = rgb("e0a000")
ORANGE = rgb("ff8010")
GREY = rgb("a0a0a0")
LIGHT = rgb("e8e8e8")
BROWN = rgb("8a5a2a")
DARK_BROWN = rgb("503010")
PURPLE = rgb("9030c0")
TERMINAL = rgb("50ff50")

# ---------------------------------------------------------------- shapes
# Each shape is a function (x, y) -> bool in design units (0..32), with a colour.


class Shape:
    def __init__(self, colour, inside, box):
        self.colour = colour
        self.inside = inside
        self.box = box  # x0, y0, x1, y1 in design units: a quick reject


def disc(cx, cy, r, colour):
    return Shape(colour, lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry, colour):
    return Shape(colour, lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def ring(cx, cy, r, width, colour, gap_from=None, gap_to=None):
    """A circle outline; angles in degrees clockwise from 12 o'clock may cut a gap."""
    outer, inner = r + width / 2, r - width / 2

    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if not inner * inner <= d2 <= outer * outer:
            return False
        if gap_from is None:
            return True
        angle = math.degrees(math.atan2(x - cx, -(y - cy))) % 360
        lo, hi = gap_from % 360, gap_to % 360
        in_gap = lo <= angle <= hi if lo <= hi else angle >= lo or angle <= hi
        return not in_gap

    return Shape(colour, inside, (cx - outer, cy - outer, cx + outer, cy + outer))


def arc(cx, cy, r, width, colour, start, end):
    """The part of a circle outline from start to end, clockwise, in degrees from 12 o'clock."""
    return ring(cx, cy, r, width, colour, end, start)


def line(x0, y0, x1, y1, width, colour):
    """A thick line with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9
    half = width / 2

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half * half

    return Shape(colour, inside, (min(x0, x1) - half, min(y0, y1) - half, max(x0, x1) + half, max(y0, y1) + half))


def polygon(points, colour):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return Shape(colour, inside, (min(xs), min(ys), max(xs), max(ys)))


def box(x0, y0, x1, y1, colour, radius=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    return Shape(colour, inside, (x0, y0, x1, y1))


def crescent(cx, cy, r, cut_dx, cut_dy, cut_r, colour):
    def inside(x, y):
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and (x - cx - cut_dx) ** 2 + (y - cy - cut_dy) ** 2 > cut_r ** 2

    return Shape(colour, inside, (cx - r, cy - r, cx + r, cy + r))


# A 3 x 5 pixel font for the DOS prompt, one string per row.
GLYPHS = {
    "C": ["###", "#..", "#..", "#..", "###"],
    ":": [".", "#", ".", "#", "."],
    "\\": ["#..", "#..", ".#.", "..#", "..#"],
    ">": ["#..", ".#.", "..#", ".#.", "#.."],
}


def pixel_text(text, left, top, cell, colour):
    """Text from the pixel font; cell is the size of one font pixel in design units."""
    shapes = []
    x = left
    for ch in text:
        rows = GLYPHS[ch]
        for row_index, row in enumerate(rows):
            for col_index, mark in enumerate(row):
                if mark == "#":
                    x0 = x + col_index * cell
                    y0 = top + row_index * cell
                    shapes.append(box(x0, y0, x0 + cell, y0 + cell, colour))
        x += (len(rows[0]) + 1) * cell
    return shapes


# ---------------------------------------------------------------- pictures

def power_symbol(colour, cx=16, cy=17, r=8.5, width=4.2):
    return [ring(cx, cy, r, width, colour, -38, 38), line(cx, cy - r - 4, cx, cy - 1, width, colour)]


def window_frame(x0, y0, x1, y1, bar, body):
    return [box(x0, y0, x1, y1, OUTLINE, 2.5), box(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5, body, 1.5),
            box(x0 + 1.5, y0 + 1.5, x1 - 1.5, y0 + 7, bar, 1.5)]


def circular_arrow(cx, cy, r, width, colour, outline):
    """A clockwise arrow round most of a circle, its head at 12 o'clock pointing right."""
    tip = [(cx - 1.5, cy - r - 6.5), (cx + 6.0, cy - r), (cx - 1.5, cy - r + 6.5)]
    rim = [(cx - 2.7, cy - r - 8.2), (cx + 8.2, cy - r), (cx - 2.7, cy - r + 8.2)]
    return [ring(cx, cy, r, width + 1.6, outline, 0, 60), polygon(rim, outline),
            ring(cx, cy, r, width, colour, 0, 60), polygon(tip, colour)]


def bell(body, outline):
    shapes = [disc(16, 5, 2.6, outline), disc(16, 25.5, 3.6, outline)]
    outer = [(16, 4.2), (21.5, 7.5), (23.5, 14), (24.5, 20), (28.5, 24.5), (3.5, 24.5), (7.5, 20), (8.5, 14),
             (10.5, 7.5)]
    inner = [(16, 6.3), (20.0, 8.8), (21.6, 14.5), (22.6, 20.5), (25.2, 22.9), (6.8, 22.9), (9.4, 20.5), (10.4, 14.5),
             (12.0, 8.8)]
    shapes += [polygon(outer, outline), polygon(inner, body), disc(16, 25.5, 2.1, body)]
    return shapes


PICTURES = {
    # The program: a blue stopwatch with a red hand.
    "tarnby": [
        box(13, 1, 19, 5.5, OUTLINE, 1.5), box(14.5, 2, 17.5, 5, GREY),
        line(24.5, 6.5, 27, 9, 4, OUTLINE),
        disc(16, 18, 13.2, OUTLINE), disc(16, 18, 11.4, BLUE), disc(16, 18, 8.2, WHITE),
        line(16, 18, 16, 11.5, 2.6, NAVY), line(16, 18, 20.5, 21.5, 3.0, RED), disc(16, 18, 2.0, NAVY),
    ],
    # Exit to DOS: a black screen with the prompt C:\>.
    "dos": [box(0.5, 3, 31.5, 29, GREY, 3), box(2.5, 5, 29.5, 27, BLACK, 2)]
    + pixel_text("C:\\>", 4.2, 11, 2.0, TERMINAL),
    # Run programs: an application window with a green play triangle.
    "program": window_frame(1.5, 3, 30.5, 29, BLUE, WHITE)
    + [polygon([(10.5, 11.5), (23.5, 18.5), (10.5, 25.5)], DARK_GREEN),
       polygon([(12.0, 14.0), (21.0, 18.5), (12.0, 23.0)], GREEN)],
    # Screen saver: a monitor on its stand, a sky-blue screen with a star.
    "screen": [
        box(0.5, 2, 31.5, 24, OUTLINE, 2.5), box(3, 4.5, 29, 21.5, SKY, 1),
        polygon([(3, 21.5), (29, 21.5), (29, 12), (18, 21.5)], BLUE),
        polygon([(9.5, 8), (11, 11.5), (14.5, 12), (11.8, 14.2), (12.6, 17.8), (9.5, 15.8), (6.4, 17.8), (7.2, 14.2),
                 (4.5, 12), (8, 11.5)], YELLOW),
        box(12.5, 24, 19.5, 27.5, OUTLINE), box(7, 27, 25, 31, OUTLINE, 1.5),
    ],
    # Suspend: a yellow moon on a night-blue tile.
    "sleep": [box(0.5, 0.5, 31.5, 31.5, NAVY, 5), crescent(14.5, 16, 11, 6.5, -4.5, 9.5, YELLOW),
              disc(24, 8, 1.6, WHITE), disc(27, 15, 1.1, WHITE)],
    # Restart Windows only: a window with an orange circular arrow.
    "win": window_frame(1.5, 2, 30.5, 30, NAVY, LIGHT) + circular_arrow(16, 19.5, 6.3, 3.4, ORANGE, DARK_BROWN),
    # Restart the computer: a bold green circular arrow.
    "restart": circular_arrow(16, 17, 10, 5.0, GREEN, DARK_GREEN),
    # Log off: an open brown door and a blue arrow leaving through it.
    "log": [
        box(3, 1.5, 20, 30.5, DARK_BROWN, 1), box(5.5, 4, 17.5, 30.5, rgb("f0e0c0")),
        polygon([(5.5, 4), (14, 7), (14, 30.5), (5.5, 30.5)], BROWN), disc(12, 18, 1.3, YELLOW),
        line(14, 17.5, 25, 17.5, 6.2, NAVY), polygon([(23, 9.5), (31.5, 17.5), (23, 25.5)], NAVY),
        line(15.3, 17.5, 24.5, 17.5, 3.4, BLUE), polygon([(24.5, 12.6), (29.3, 17.5), (24.5, 22.4)], BLUE),
    ],
    # Shut down: a white power symbol on a red disc.
    "shut": [disc(16, 16, 15.5, DARK_RED), disc(16, 16, 14, RED)] + power_symbol(WHITE, 16, 17.5, 7.8, 3.8),
    # Alarm off: a grey bell struck through in red.
    "alarm_off": bell(GREY, OUTLINE) + [line(4, 4, 28, 28, 5.2, WHITE), line(4, 4, 28, 28, 3.4, RED)],
    # The clock between Start and Pause: a white face, black hands.
    "clock": [disc(16, 16, 15.2, OUTLINE), disc(16, 16, 12.8, WHITE)]
    + [line(16 + 10.3 * math.sin(math.radians(a)), 16 - 10.3 * math.cos(math.radians(a)),
            16 + 11.6 * math.sin(math.radians(a)), 16 - 11.6 * math.cos(math.radians(a)), 1.6, GREY)
       for a in range(0, 360, 90)]
    + [line(16, 16, 16, 7, 2.8, BLACK), line(16, 16, 22, 19.5, 2.8, BLACK), disc(16, 16, 2, RED)],
    # Choose a wave file: a purple note.
    "wav": [disc(10, 24.5, 6.2, PURPLE), disc(24, 21, 6.2, PURPLE), line(14.7, 23.5, 14.7, 5.5, 3.2, PURPLE),
            line(28.7, 20, 28.7, 2.5, 3.2, PURPLE), polygon([(13.1, 4), (30.3, 0.8), (30.3, 7.5), (13.1, 10.7)],
                                                           PURPLE)],
}

# Sound waves of the bell drawn on both sides, kept apart from the dome.
PICTURES["alarm_on"] = bell(YELLOW, OUTLINE) + [
    arc(16, 13, 14.5, 2.6, GOLD, 40, 85), arc(16, 13, 14.5, 2.6, GOLD, 275, 320)]

FILES = {
    "tarnby": "tarnby.ico", "dos": "dos.ico", "program": "program.ico", "screen": "screen.ico",
    "sleep": "sleep.ico", "win": "win.ico", "restart": "restart.ico", "log": "log.ico", "shut": "shut.ico",
    "alarm_on": "alarm_on.ico", "alarm_off": "alarm_off.ico", "clock": "clock.ico", "wav": "wav.ico",
}

# ---------------------------------------------------------------- rasteriser

def render(shapes, size):
    """Premultiplied RGBA floats, row 0 at the top."""
    scale = 32.0 / size
    pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    offsets = [(i + 0.5) / SUPER for i in range(SUPER)]
    samples = SUPER * SUPER
    for shape in shapes:
        x0, y0, x1, y1 = shape.box
        px0 = max(0, int(x0 / scale) - 1)
        py0 = max(0, int(y0 / scale) - 1)
        px1 = min(size, int(x1 / scale) + 2)
        py1 = min(size, int(y1 / scale) + 2)
        r, g, b, a = (c / 255.0 for c in shape.colour)
        for py in range(py0, py1):
            row = pixels[py]
            for px in range(px0, px1):
                hits = 0
                for oy in offsets:
                    y = (py + oy) * scale
                    for ox in offsets:
                        if shape.inside((px + ox) * scale, y):
                            hits += 1
                if not hits:
                    continue
                cover = a * hits / samples
                dr, dg, db, da = row[px]
                keep = 1.0 - cover
                row[px] = (r * cover + dr * keep, g * cover + dg * keep, b * cover + db * keep, cover + da * keep)
    return pixels


def to_rgba_bytes(pixels):
    """Straight (not premultiplied) 8-bit RGBA rows, top row first."""
    rows = []
    for row in pixels:
        out = bytearray()
        for r, g, b, a in row:
            if a <= 0.0:
                out += b"\0\0\0\0"
                continue
            out += bytes((min(255, round(r / a * 255)), min(255, round(g / a * 255)), min(255, round(b / a * 255)),
                          min(255, round(a * 255))))
        rows.append(bytes(out))
    return rows


def ico_entry(rows, size):
    """A 32-bit BMP icon image: header, BGRA rows bottom-up, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for i in range(0, len(row), 4):
            r, g, b, a = row[i:i + 4]
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_ico(path, images):
    entries = [(size, ico_entry(rows, size)) for size, rows in images]
    data = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, blob in entries:
        dim = 0 if size >= 256 else size
        data += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in entries:
        data += blob
    with open(path, "wb") as handle:
        handle.write(data)


def write_png(path, width, height, rows):
    def chunk(kind, payload):
        return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", zlib.crc32(kind + payload))

    raw = b"".join(b"\0" + row for row in rows)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as handle:
        handle.write(png)


def contact_sheet(path, rendered, zoom=4):
    """Every picture at every size, each shown at zoom on light and on dark ground."""
    names = list(rendered)
    cell = max(SIZES) * zoom + 8
    width = cell * len(SIZES) * 2
    height = cell * len(names)
    canvas = [bytearray(b"\xff\xff\xff\xff" * width) for _ in range(height)]
    for n, name in enumerate(names):
        for s, size in enumerate(SIZES):
            rows = rendered[name][size]
            for half, ground in enumerate(((236, 236, 236), (40, 40, 48))):
                left = (half * len(SIZES) + s) * cell + 4
                top = n * cell + 4
                for y in range(size * zoom):
                    src = rows[y // zoom]
                    dst = canvas[top + y]
                    for x in range(size * zoom):
                        r, g, b, a = src[(x // zoom) * 4:(x // zoom) * 4 + 4]
                        k = a / 255.0
                        px = (left + x) * 4
                        dst[px:px + 4] = bytes((round(r * k + ground[0] * (1 - k)), round(g * k + ground[1] * (1 - k)),
                                                round(b * k + ground[2] * (1 - k)), 255))
    write_png(path, width, height, [bytes(row) for row in canvas])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--out", default=os.path.join(here, "..", "resources", "icons"))
    parser.add_argument("--sheet", help="also write a PNG contact sheet of every icon")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    rendered = {}
    for name, shapes in PICTURES.items():
        rendered[name] = {size: to_rgba_bytes(render(shapes, size)) for size in SIZES}
        write_ico(os.path.join(args.out, FILES[name]), [(size, rendered[name][size]) for size in SIZES])
    if args.sheet:
        contact_sheet(args.sheet, rendered)


if __name__ == "__main__":
    main()
