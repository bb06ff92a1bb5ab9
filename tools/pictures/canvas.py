"""A small 16-colour canvas, the sprite-sheet layout and the BMP writer.

Every picture of the game is drawn on a Canvas of palette indices and saved
as a 4-bit, uncompressed, bottom-up BMP with the standard 16-colour palette.
"""

import math
import struct

# The standard 16-colour palette, in index order.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 grey
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

CELL = 40          # a sprite or tile cell is 40 x 40
PITCH = CELL + 1   # cells are separated by one white line


def strip_length(cells):
    """Pixels taken by `cells` cells and their separators."""
    return PITCH * cells - 1


class Canvas:
    def __init__(self, width, height, fill=BLACK):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.px[y][x]
        return BLACK

    def set(self, x, y, c):
        x, y = int(x), int(y)
        if 0 <= x < self.width and 0 <= y < self.height and c is not None:
            self.px[y][x] = c

    def rect(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.set(xx, yy, c)

    def frame(self, x, y, w, h, c):
        self.hline(x, x + w - 1, y, c)
        self.hline(x, x + w - 1, y + h - 1, c)
        self.vline(x, y, y + h - 1, c)
        self.vline(x + w - 1, y, y + h - 1, c)

    def hline(self, x0, x1, y, c):
        for x in range(min(x0, x1), max(x0, x1) + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(min(y0, y1), max(y0, y1) + 1):
            self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        """Bresenham line between two integer points, both ends included."""
        x0, y0, x1, y1 = int(round(x0)), int(round(y0)), int(round(x1)), int(round(y1))
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, c):
        """Every pixel whose centre lies within r of (cx, cy)."""
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r_in, r_out, c):
        for y in range(int(cy - r_out) - 1, int(cy + r_out) + 2):
            for x in range(int(cx - r_out) - 1, int(cx + r_out) + 2):
                d2 = (x - cx) ** 2 + (y - cy) ** 2
                if r_in * r_in <= d2 <= r_out * r_out:
                    self.set(x, y, c)

    def polygon(self, points, c):
        """Fills a polygon: a pixel is inside when its centre is."""
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 2):
            yc = y
            xs = []
            n = len(points)
            for i in range(n):
                (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(math.ceil(xs[i]), math.floor(xs[i + 1]) + 1):
                    self.set(x, y, c)

    def blit(self, src, dx, dy, transparent=None):
        for y in range(src.height):
            for x in range(src.width):
                c = src.px[y][x]
                if c != transparent:
                    self.set(dx + x, dy + y, c)

    def crop(self, x, y, w, h):
        out = Canvas(w, h)
        for yy in range(h):
            for xx in range(w):
                out.px[yy][xx] = self.get(x + xx, y + yy)
        return out

    def recolour(self, mapping):
        out = Canvas(self.width, self.height)
        for y in range(self.height):
            out.px[y] = [mapping.get(c, c) for c in self.px[y]]
        return out

    def rotated(self, quarter_turns):
        """Turned clockwise by quarter_turns * 90 degrees (square canvases)."""
        out = self
        for _ in range(quarter_turns % 4):
            n = out.width
            turned = Canvas(n, n)
            for y in range(n):
                for x in range(n):
                    # clockwise: (x, y) goes to (n - 1 - y, x)
                    turned.px[x][n - 1 - y] = out.px[y][x]
            out = turned
        return out

    def flipped_x(self):
        out = Canvas(self.width, self.height)
        for y in range(self.height):
            out.px[y] = list(reversed(self.px[y]))
        return out


def sheet(cells):
    """Lays out rows of 40 x 40 canvases with white separators.

    cells[r][c] is the canvas for column c, row r; all rows are as long.
    """
    rows, cols = len(cells), len(cells[0])
    out = Canvas(strip_length(cols), strip_length(rows), WHITE)
    for r, row in enumerate(cells):
        assert len(row) == cols
        for c, cell in enumerate(row):
            assert cell.width == CELL and cell.height == CELL
            out.blit(cell, PITCH * c, PITCH * r)
    return out


def write_bmp(path, canvas):
    """Saves a 4-bit BI_RGB bottom-up BMP with the 16-colour palette."""
    stride = ((canvas.width * 4 + 31) // 32) * 4
    pixel_bytes = stride * canvas.height
    offset = 14 + 40 + 16 * 4
    out = bytearray()
    out += struct.pack("<2sIHHI", b"BM", offset + pixel_bytes, 0, 0, offset)
    out += struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 4, 0,
                       pixel_bytes, 2835, 2835, 16, 16)
    for r, g, b in PALETTE:
        out += bytes((b, g, r, 0))
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray(stride)
        for x, c in enumerate(canvas.px[y]):
            assert 0 <= c < 16
            if x % 2 == 0:
                row[x // 2] |= c << 4
            else:
                row[x // 2] |= c
        out += row
    with open(path, "wb") as f:
        f.write(out)
