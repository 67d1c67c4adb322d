#!/usr/bin/env python3
"""Draws the program's pictures: the dialog header bitmap and the program icon.

    draw-images.py [OUTPUT_FOLDER]     (default: resources/images)

The picture is a mail data file with a faint duplicate behind it being swept
away by a broom, with a few sparkles. Shapes are described in pixel
coordinates of the target size and rendered with 8 x 8 samples per pixel.
The header bitmap is 24-bit on white, which the program draws as transparent;
the icon images are 32-bit with alpha and a matching AND mask.
"""

import os
import struct
import sys

SAMPLES = 8


def hex_colour(text):
    return tuple(int(text[i : i + 2], 16) / 255.0 for i in (0, 2, 4))


BORDER = hex_colour("1f5faf")
PAGE_TOP = hex_colour("ffffff")
PAGE_BOTTOM = hex_colour("dce8f8")
FOLD = hex_colour("a9c4ea")
ENVELOPE = hex_colour("3b7dd8")
ENVELOPE_FLAP = hex_colour("d6e6fa")
GHOST = hex_colour("8fa3bf")
HANDLE = hex_colour("8a5a2b")
HANDLE_LIGHT = hex_colour("c08a4e")
BAND = hex_colour("c0392b")
BRISTLES = hex_colour("e9b63f")
BRISTLE_LINES = hex_colour("b9801c")
SPARKLE = hex_colour("f2b705")
SPARKLE_BLUE = hex_colour("5b9be6")


class Canvas:
    """Premultiplied RGBA pixels on which shapes are painted with coverage."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[(0.0, 0.0, 0.0, 0.0) for _ in range(width)] for _ in range(height)]

    def paint(self, inside, colour, alpha=1.0, box=None):
        """Paints the points for which inside(x, y) holds; colour is a tuple or a function of (x, y)."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(x1) + 1), min(self.height, int(y1) + 1)
        step = 1.0 / SAMPLES
        for py in range(y0, y1):
            row = self.pixels[py]
            for px in range(x0, x1):
                hits = 0
                for sy in range(SAMPLES):
                    y = py + (sy + 0.5) * step
                    for sx in range(SAMPLES):
                        if inside(px + (sx + 0.5) * step, y):
                            hits += 1
                if not hits:
                    continue
                a = alpha * hits / (SAMPLES * SAMPLES)
                r, g, b = colour(px + 0.5, py + 0.5) if callable(colour) else colour
                dr, dg, db, da = row[px]
                row[px] = (r * a + dr * (1 - a), g * a + dg * (1 - a), b * a + db * (1 - a), a + da * (1 - a))

    def on_white(self):
        """Rows of (r, g, b) bytes, composed over white."""
        return [[tuple(_byte(c + (1 - a)) for c in (r, g, b)) for r, g, b, a in row] for row in self.pixels]

    def straight(self):
        """Rows of (r, g, b, a) bytes with the colour no longer premultiplied."""
        rows = []
        for row in self.pixels:
            out = []
            for r, g, b, a in row:
                if a <= 0.0:
                    out.append((0, 0, 0, 0))
                else:
                    out.append((_byte(r / a), _byte(g / a), _byte(b / a), _byte(a)))
            rows.append(out)
        return rows


def _byte(value):
    return max(0, min(255, int(round(value * 255))))


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return inside


def capsule(x0, y0, x1, y1, radius):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        ex, ey = x0 + t * dx - x, y0 + t * dy - y
        return ex * ex + ey * ey <= radius * radius

    return inside


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def outline(points, width):
    """The band of the given width just inside a convex polygon's edges."""
    n = len(points)
    edges = [capsule(*points[i], *points[(i + 1) % n], width) for i in range(n)]
    body = polygon(points)
    return lambda x, y: body(x, y) and any(edge(x, y) for edge in edges)


def bounds(points, margin=1.0):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - margin, min(ys) - margin, max(xs) + margin, max(ys) + margin)


def vertical_gradient(top, bottom, y0, y1):
    def colour(_x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return colour


def page_points(x0, y0, x1, y1, fold):
    return [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]


def draw_page(canvas, x0, y0, x1, y1, fold, border, envelope=True):
    """A data file: a sheet with a folded corner and a mail envelope on it."""
    points = page_points(x0, y0, x1, y1, fold)
    box = bounds(points)
    canvas.paint(polygon(points), vertical_gradient(PAGE_TOP, PAGE_BOTTOM, y0, y1), box=box)
    canvas.paint(outline(points, border), BORDER, box=box)
    corner = [(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]
    canvas.paint(polygon(corner), FOLD, box=bounds(corner))
    canvas.paint(outline(corner, border * 0.8), BORDER, box=bounds(corner))
    if not envelope:
        return
    width = x1 - x0
    height = y1 - y0
    # Whole pixels keep the small envelope's edges sharp.
    ex0, ex1 = round(x0 + width * 0.2), round(x1 - width * 0.2)
    ey0, ey1 = round(y0 + height * 0.45), round(y0 + height * 0.78)
    body = [(ex0, ey0), (ex1, ey0), (ex1, ey1), (ex0, ey1)]
    canvas.paint(polygon(body), ENVELOPE_FLAP, box=bounds(body))
    canvas.paint(minus(polygon(body), rect(ex0 + 1, ey0 + 1, ex1 - 1, ey1 - 1)), ENVELOPE, box=bounds(body))
    mid = ((ex0 + ex1) / 2, ey0 + (ey1 - ey0) * 0.6)
    inside_body = polygon(body)
    for corner in ((ex0, ey0), (ex1, ey0)):
        line = capsule(*corner, *mid, 0.6)
        canvas.paint(lambda x, y: line(x, y) and inside_body(x, y), ENVELOPE, box=bounds([corner, mid]))


def draw_broom(canvas, top, head, handle_radius, head_length, head_width):
    """A broom whose handle runs from `top` to `head`, bristles spreading beyond `head`."""
    (tx, ty), (hx, hy) = top, head
    length = ((hx - tx) ** 2 + (hy - ty) ** 2) ** 0.5
    ux, uy = (hx - tx) / length, (hy - ty) / length
    nx, ny = -uy, ux
    box = bounds([top, head], handle_radius + 1)
    canvas.paint(capsule(tx, ty, hx, hy, handle_radius), HANDLE, box=box)
    canvas.paint(
        capsule(tx + nx * handle_radius * 0.4, ty + ny * handle_radius * 0.4, hx, hy, handle_radius * 0.35),
        HANDLE_LIGHT,
        box=box,
    )

    def at(along, across):
        return (hx + ux * along + nx * across, hy + uy * along + ny * across)

    half = head_width / 2
    bristles = [at(0, -half * 0.45), at(0, half * 0.45), at(head_length, half), at(head_length, -half)]
    canvas.paint(polygon(bristles), BRISTLES, box=bounds(bristles))
    for k in (-0.5, 0.0, 0.5):
        line_start = at(head_length * 0.3, half * 0.45 * k)
        line_end = at(head_length * 0.95, half * k * 0.9)
        canvas.paint(capsule(*line_start, *line_end, max(0.35, handle_radius * 0.3)), BRISTLE_LINES,
                     box=bounds([line_start, line_end]))
    binding = [at(-head_length * 0.12, -half * 0.5), at(-head_length * 0.12, half * 0.5),
               at(head_length * 0.12, half * 0.55), at(head_length * 0.12, -half * 0.55)]
    canvas.paint(polygon(binding), BAND, box=bounds(binding))


def draw_sparkle(canvas, cx, cy, size, colour):
    thin = size * 0.28
    star = [(cx, cy - size), (cx + thin, cy - thin), (cx + size, cy), (cx + thin, cy + thin),
            (cx, cy + size), (cx - thin, cy + thin), (cx - size, cy), (cx - thin, cy - thin)]
    canvas.paint(polygon(star), colour, box=bounds(star))


def header_picture():
    canvas = Canvas(49, 35)
    ghost = page_points(4, 6, 24, 32, 6)
    canvas.paint(minus(polygon(ghost), polygon(page_points(5.2, 7.2, 22.8, 30.8, 5.5))), GHOST, alpha=0.55,
                 box=bounds(ghost))
    draw_page(canvas, 11, 2, 33, 31, 7, 1.2)
    draw_broom(canvas, (47, 3), (35.5, 22), 1.3, 10, 10)
    draw_sparkle(canvas, 5, 4, 3.5, SPARKLE)
    draw_sparkle(canvas, 7.5, 29, 2.5, SPARKLE_BLUE)
    draw_sparkle(canvas, 44, 16, 2.2, SPARKLE)
    return canvas


def icon_picture(size):
    canvas = Canvas(size, size)
    if size <= 16:
        draw_page(canvas, 1, 1, 11, 15, 3, 1.0)
        draw_broom(canvas, (15.5, 0.5), (11, 9), 0.8, 5, 5)
        return canvas
    s = size / 32.0
    ghost = [(x * s, y * s) for x, y in page_points(1, 5, 16, 30, 5)]
    inner = [(x * s, y * s) for x, y in page_points(2, 6, 15, 29, 4.6)]
    canvas.paint(minus(polygon(ghost), polygon(inner)), GHOST, alpha=0.55, box=bounds(ghost))
    draw_page(canvas, 5 * s, 1 * s, 23 * s, 27 * s, 6 * s, 1.1 * s)
    draw_broom(canvas, (31 * s, 1.5 * s), (22.5 * s, 17.5 * s), 1.3 * s, 10 * s, 10 * s)
    draw_sparkle(canvas, 4 * s, 29 * s, 2.6 * s, SPARKLE)
    return canvas


def bmp_24(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + bytes(data)


def ico(images):
    """An icon file of 32-bit images, each with an AND mask where alpha is zero."""
    entries = bytearray()
    blobs = bytearray()
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        xor = bytearray()
        mask = bytearray()
        mask_stride = ((size + 31) // 32) * 4
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, (r, g, b, a) in enumerate(row):
                xor += bytes((b, g, r, a))
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + bytes(xor) + bytes(mask)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + bytes(entries) + bytes(blobs)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "images")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Header.bmp"), "wb") as out:
        out.write(bmp_24(header_picture().on_white()))
    with open(os.path.join(folder, "PSTStraysweep.ico"), "wb") as out:
        out.write(ico([icon_picture(size).straight() for size in (16, 32, 48)]))


if __name__ == "__main__":
    main()
