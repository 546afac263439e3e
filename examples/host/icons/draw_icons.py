#!/usr/bin/env python3
"""Draws the example console's icons and writes them as resource files.

Each command's picture is a few shapes (rectangles, ellipses, polygons) in a unit square,
each with a fill and a one-pixel outline. They are rendered at 16 and 32 pixels with 4x4
samples a pixel (coverage gives the alpha) and written as:
  - <name>.ico: the 32x32 and 16x16 images, 32 bits a pixel with their AND masks, for
    the shortcut bar's large and small views;
  - host_tools.bmp (one folder up): the toolbar strip, the 16x16 pictures each centred in
    a 20x20 cell as the standard toolbar's, on the toolbar's see-through grey, in button
    order.
Run it again after changing a picture; the files it writes are kept in the repository.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4
MASK_GREY = (192, 192, 192)  # the toolbar bitmap's see-through colour
CELL = 20


def rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


class Rect:
    def __init__(self, x0, y0, x1, y1, fill, stroke=None):
        self.box = (x0, y0, x1, y1)
        self.fill, self.stroke = rgb(fill), rgb(stroke) if stroke else None

    def inside(self, x, y, inset=0.0):
        x0, y0, x1, y1 = self.box
        return x0 + inset <= x < x1 - inset and y0 + inset <= y < y1 - inset


class Ellipse:
    def __init__(self, cx, cy, rx, ry, fill, stroke=None):
        self.c, self.r = (cx, cy), (rx, ry)
        self.fill, self.stroke = rgb(fill), rgb(stroke) if stroke else None

    def inside(self, x, y, inset=0.0):
        rx, ry = self.r[0] - inset, self.r[1] - inset
        if rx <= 0 or ry <= 0:
            return False
        dx, dy = (x - self.c[0]) / rx, (y - self.c[1]) / ry
        return dx * dx + dy * dy < 1.0


class Polygon:
    def __init__(self, points, fill, stroke=None):
        self.points = points
        self.fill, self.stroke = rgb(fill), rgb(stroke) if stroke else None

    def inside(self, x, y, inset=0.0):
        pts, n, hit = self.points, len(self.points), False
        for i in range(n):
            (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                hit = not hit
        if not hit or inset == 0.0:
            return hit
        for i in range(n):
            if segment_distance(x, y, pts[i], pts[(i + 1) % n]) < inset:
                return False
        return True


def segment_distance(x, y, a, b):
    (xa, ya), (xb, yb) = a, b
    dx, dy = xb - xa, yb - ya
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / length))
    px, py = xa + t * dx - x, ya + t * dy - y
    return (px * px + py * py) ** 0.5


def g(*values):
    """Sixteenths of the square: edges on the 16-pixel grid stay sharp at 16 and 32."""
    return [v / 16 for v in values]


OUTLINE_WOOD, OUTLINE_DARK = "#5a3c1e", "#2a2e36"
PICTURES = {
    # A wooden door in its frame, two panels and a brass knob.
    "doors": [
        Rect(*g(3, 0, 13, 16), "#6e6a64", OUTLINE_DARK),
        Rect(*g(4, 1, 12, 16), "#c07f3c", OUTLINE_WOOD),
        Rect(*g(6, 3, 10, 7), "#a2652a"),
        Rect(*g(6, 9, 10, 14), "#a2652a"),
        Rect(*g(10, 8, 11, 9), "#f4c430"),
    ],
    # A person: head and shoulders.
    "operators": [
        Ellipse(*g(8, 16.5, 6.5, 7), "#3568b5", "#1c3a6e"),
        Ellipse(*g(8, 5.5, 3.5, 3.5), "#f2c48f", "#8a5a2b"),
    ],
    # An archive box: its body, its lid and the hand hole.
    "archive": [
        Rect(*g(2, 6, 14, 15), "#c8924a", OUTLINE_WOOD),
        Rect(*g(1, 3, 15, 7), "#e0b26a", OUTLINE_WOOD),
        Rect(*g(6, 9, 10, 10), "#5a3c1e"),
    ],
    # A video camera with its two reels and the red recording light.
    "recorder": [
        Ellipse(*g(4.5, 4, 2.5, 2.5), "#8a929c", OUTLINE_DARK),
        Ellipse(*g(9.5, 4, 2.5, 2.5), "#8a929c", OUTLINE_DARK),
        Rect(*g(1, 6, 12, 14), "#555c66", OUTLINE_DARK),
        Polygon([tuple(g(11, 8.5)), tuple(g(15, 6)), tuple(g(15, 14)), tuple(g(11, 11.5))], "#3b4048", OUTLINE_DARK),
        Rect(*g(3, 8, 5, 10), "#e3262a"),
    ],
    # A page of the log: a sheet with a folded corner and its lines.
    "session_log": [
        Polygon([tuple(g(2, 0)), tuple(g(10, 0)), tuple(g(14, 4)), tuple(g(14, 16)), tuple(g(2, 16))], "#fbfbfb",
            "#4a4f57"),
        Polygon([tuple(g(10, 0)), tuple(g(10, 4)), tuple(g(14, 4))], "#cfd4da", "#4a4f57"),
        Rect(*g(4, 6, 12, 7), "#3a6ea5"),
        Rect(*g(4, 8, 12, 9), "#3a6ea5"),
        Rect(*g(4, 10, 12, 11), "#3a6ea5"),
        Rect(*g(4, 12, 9, 13), "#3a6ea5"),
    ],
}
# The console toolbar's buttons, in order (separators have no picture).
TOOLBAR = ["doors", "operators", "archive", "recorder", "session_log"]


def render(shapes, size):
    """Rows of (r, g, b, a) pixels: each sample takes the last shape over it, its outline
    (one pixel wide whatever the size) or its fill."""
    stroke = 1.0 / size
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            covered, total = 0, [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for shape in shapes:
                        if shape.inside(x, y):
                            edge = shape.stroke is not None and not shape.inside(x, y, stroke)
                            colour = shape.stroke if edge else shape.fill
                    if colour:
                        covered += 1
                        total = [t + c for t, c in zip(total, colour)]
            if covered:
                row.append(tuple(t // covered for t in total) + (255 * covered // (SAMPLES * SAMPLES),))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def icon_image(pixels):
    """One image of an icon file: the header, the colours bottom-up, the AND mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colours + mask


def write_icon(path, images):
    data = [icon_image(p) for p in images]
    out = struct.pack("<HHH", 0, 1, len(data))
    offset = 6 + 16 * len(data)
    for pixels, blob in zip(images, data):
        size = len(pixels)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(data))


def write_toolbar(path, pictures):
    width, height = CELL * len(pictures), CELL
    strip = [[MASK_GREY] * width for _ in range(height)]
    margin = (CELL - 16) // 2
    for i, pixels in enumerate(pictures):
        for y, row in enumerate(pixels):
            for x, (r, g, b, a) in enumerate(row):
                # Hard edges: the strip has one see-through colour and no alpha.
                if a >= 128:
                    strip[margin + y][CELL * i + margin + x] = (r, g, b)
    stride = (width * 3 + 3) // 4 * 4
    body = b""
    for row in reversed(strip):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        body += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + body)


def main():
    small = {}
    for name, shapes in PICTURES.items():
        small[name] = render(shapes, 16)
        write_icon(os.path.join(HERE, name + ".ico"), [render(shapes, 32), small[name]])
    write_toolbar(os.path.join(HERE, "..", "host_tools.bmp"), [small[n] for n in TOOLBAR])


if __name__ == "__main__":
    main()
