"""The desktop icon: the program icon's tank (icon 102), drawn afresh at each
size the desktop asks for, so a large icon has smooth discs and sharp edges
instead of blown-up 32 x 32 pixels.

The design is laid out in the 32 x 32 units of the program icon. Rectangles
snap to whole pixels at every size; discs are sampled 4 x 4 per pixel.
"""

import struct
import zlib

from pictures.canvas import PALETTE, BLACK, MAROON, OLIVE, SILVER, GREY, RED, YELLOW, WHITE

SIZES = (32, 48, 64, 128, 256)


class RgbCanvas:
    def __init__(self, size):
        self.size = size
        self.k = size / 32.0
        self.px = [[PALETTE[BLACK]] * size for _ in range(size)]

    def edge(self, u):
        return int(round(u * self.k))

    def rect(self, x, y, w, h, colour):
        """A rectangle in design units, its edges snapped to pixels."""
        for py in range(self.edge(y), self.edge(y + h)):
            for px in range(self.edge(x), self.edge(x + w)):
                self.px[py][px] = PALETTE[colour]

    def disc(self, cx, cy, r, colour):
        """A disc in design units, edge pixels blended by coverage."""
        k, n = self.k, 4
        rgb = PALETTE[colour]
        for py in range(max(0, int((cy - r) * k) - 1), min(self.size, int((cy + r) * k) + 2)):
            for px in range(max(0, int((cx - r) * k) - 1), min(self.size, int((cx + r) * k) + 2)):
                inside = 0
                for sy in range(n):
                    for sx in range(n):
                        u = (px + (sx + 0.5) / n) / k - cx
                        v = (py + (sy + 0.5) / n) / k - cy
                        inside += u * u + v * v <= r * r
                if inside:
                    a = inside / (n * n)
                    old = self.px[py][px]
                    self.px[py][px] = tuple(round(o + (c - o) * a) for o, c in zip(old, rgb))


def desktop_icon(size):
    c = RgbCanvas(size)
    fine = 1.0 / c.k  # one pixel, in design units
    # Tracks: grey with a silver middle, a black tread every 3 units.
    for x0 in (3, 23):
        c.rect(x0, 5.5, 6, 22, GREY)
        c.rect(x0 + 0.5, 5, 5, 23, GREY)
        c.rect(x0 + 2, 5, 2, 23, SILVER)
        for y in range(5, 28, 3):
            c.rect(x0 + 1, y, 4, max(fine, 1.0 if size <= 32 else 0.75), BLACK)
    # Body: yellow, lit from the top left.
    c.rect(9, 7, 14, 20, YELLOW)
    c.rect(9, 7, 1, 20, WHITE)
    c.rect(9, 7, 14, 1, WHITE)
    c.rect(22, 8, 1, 19, OLIVE)
    c.rect(10, 26, 13, 1, OLIVE)
    if size >= 64:
        # Engine deck slats, too fine to show at the small sizes.
        for y in (22.5, 24):
            c.rect(11, y, 10, fine * max(1, c.k / 4), OLIVE)
    # Turret: a black rim, olive ring, yellow dome and the red hatch.
    c.disc(16.0, 18.0, 5.6, BLACK)
    c.disc(16.0, 18.0, 4.6, OLIVE)
    c.disc(15.5, 17.5, 4.0, YELLOW)
    c.disc(16.0, 18.0, 1.6, RED)
    # Barrel: grey, white, silver, grey columns with a muzzle ring.
    for x, colour in ((14, GREY), (15, WHITE), (16, SILVER), (17, GREY)):
        c.rect(x, 1, 1, 11, colour)
    c.rect(13, 1, 6, 1, GREY)
    c.rect(13, 2, 6, 1, SILVER)
    # The maroon frame, one design unit wide.
    for x, y, w, h in ((0, 0, 32, 1), (0, 31, 32, 1), (0, 0, 1, 32), (31, 0, 1, 32)):
        c.rect(x, y, w, h, MAROON)
    return c


def write_png(path, canvas):
    """Saves an 8-bit RGB PNG."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in canvas.px)
    header = struct.pack(">IIBBBBB", canvas.size, canvas.size, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
