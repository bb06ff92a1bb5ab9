"""Pictures shown by the dialogs and the shell: the annotated status bar
(bitmap 123), the welcome picture (bitmap 130), the program icon (icon 102)
and the mouse cursor (cursor 104)."""

from .canvas import (AQUA, BLACK, BLUE, CELL, Canvas, FUCHSIA, GREEN, GREY, LIME,
                     MAROON, NAVY, OLIVE, PURPLE, RED, SILVER, TEAL, WHITE, YELLOW,
                     PALETTE)
from .font import draw_text, text_width
from . import effects, vehicles

# Cursor pixels of this colour are transparent (see resources/README.md).
CURSOR_TRANSPARENT = FUCHSIA
CURSOR_HOTSPOT = (15, 15)


def or_blit(dst, src, dx, dy, sx=0, sy=0, w=None, h=None):
    """ORs a part of src onto dst the way the game ORs overlays: by colour,
    then back to the nearest palette entry (exact for the pictures here)."""
    w = src.width if w is None else w
    h = src.height if h is None else h
    lookup = {rgb: i for i, rgb in enumerate(PALETTE)}
    for y in range(h):
        for x in range(w):
            a = PALETTE[dst.get(dx + x, dy + y)]
            b = PALETTE[src.get(sx + x, sy + y)]
            rgb = tuple(p | q for p, q in zip(a, b))
            dst.set(dx + x, dy + y, lookup.get(rgb, nearest(rgb)))


def nearest(rgb):
    return min(range(16), key=lambda i: sum((p - q) ** 2 for p, q in zip(PALETTE[i], rgb)))


def copy(dst, src, dx, dy, sx, sy, w, h):
    for y in range(h):
        for x in range(w):
            dst.set(dx + x, dy + y, src.get(sx + x, sy + y))


def arrow_to(c, x0, y0, x1, y1, colour):
    """A leader line from a label at (x0, y0) to a dot at (x1, y1)."""
    c.line(x0, y0, x1, y1, colour)
    c.disc(x1, y1, 1.2, colour)


# The players listed on the pictured status bar:
# (body index, name and frags, energy, shield, computer, own, leader)
PLAYERS = [
    (0, "ARNO =5=", 70, False, False, True, True),
    (1, "BEA =2=", 24, True, False, False, False),
    (4, "COMPUTER2 =1=", 52, False, True, False, False),
    (6, "DUSTY =3=", 8, False, False, False, False),
]


def status_bar_help():
    """Bitmap 123: a status bar of a running game, its parts labelled on
    both sides: pictures on the left, texts and gauges on the right, so no
    leader line crosses the lettering."""
    c = Canvas(376, 281)
    bricks = effects.brick_band()
    x0 = 99                  # the pictured bar's left edge
    copy(c, bricks, x0, 0, 0, 0, 175, 20)
    copy(c, bricks, x0, 243, 0, 3, 175, 38)
    draw_text(c, x0, 25, "<STATUS>", BLUE)
    draw_text(c, x0 + 8, 36, "SERVER, PORT 2727", LIME)
    draw_text(c, x0 + 8, 47, "192.168.1.20", AQUA)
    draw_text(c, x0, 61, "<PLAYERS>", BLUE)
    sheets = [vehicles.vehicle_sheet(b[1]) for b in vehicles.BODIES]
    cmark = vehicles.computer_mark()
    omark = vehicles.own_mark()
    shield = vehicles.shield_sheet()
    rows = []
    for k, (body, label, energy, shielded, computer, own, leader) in enumerate(PLAYERS):
        x = x0 + 3 + k
        y = 95 + 24 * k          # the line's base, as on the real bar
        copy(c, sheets[body], x, y - 21, 0, 0, 40, 20)
        if computer:
            or_blit(c, cmark, x, y - 21, 0, 0, 40, 20)
        if own:
            or_blit(c, omark, x, y - 21, 0, 0, 40, 20)
        if shielded:
            or_blit(c, shield, x, y - 20, 41, 0, 40, 19)
        colour = RED if leader else WHITE if own else LIME
        draw_text(c, x + 42, y - 15, label, colour)
        c.rect(x + 50, y, 1, 4, WHITE)
        c.rect(x + 123, y, 1, 4, WHITE)
        c.rect(x + 52, y, energy, 4, WHITE)
        rows.append((x, y, x + 42 + text_width(label)))
    draw_text(c, x0, 190, "<CHAT>", BLUE)
    draw_text(c, x0 + 2, 201, "BEA: NICE SHOT!", BLUE)
    draw_text(c, x0 + 2, 211, "ARNO: THANKS =)", YELLOW)
    draw_text(c, x0 + 2, 221, "PLAYER HAS", AQUA)
    draw_text(c, x0 + 2, 231, "JOINED =)", AQUA)
    draw_text(c, x0 + 2, 235 - 2, "", SILVER)
    icons = effects.icon_sheet()
    or_blit(c, icons, x0 + 60, 246, 0, 41, 40, 40)
    or_blit(c, icons, x0 + 70, 246, 42, 41, 39, 40)
    c.frame(x0 - 2, 0, 179, 281, GREY)

    # (label lines, label top, target point); left labels end at x 90,
    # right labels start at x 282
    left = [
        (["YOUR OWN", "PLAYER:", "GREEN DOME"], 62, (rows[0][0] + 19, rows[0][1] - 3)),
        (["SHIELD", "IS UP"], 104, (rows[1][0] + 4, rows[1][1] - 8)),
        (["COMPUTER:", "YELLOW DOME"], 132, (rows[2][0] + 19, rows[2][1] - 3)),
        (["THE PLAYER'S", "COLOUR"], 162, (rows[3][0] + 4, rows[3][1] - 8)),
        (["SOUND AND", "MUSIC ON"], 250, (x0 + 62, 262)),
    ]
    right = [
        (["GAME TYPE"], 33, (x0 + 8 + text_width("SERVER, PORT 2727") + 2, 39)),
        (["ADDRESS", "TO JOIN"], 46, (x0 + 8 + text_width("192.168.1.20") + 2, 50)),
        (["LEADER", "FLASHES RED"], 72, (rows[0][2] + 2, rows[0][1] - 12)),
        (["NAME =FRAGS="], 99, (rows[1][2] + 2, rows[1][1] - 12)),
        (["ENERGY", "GAUGE"], 150, (rows[3][0] + 125, rows[3][1] + 2)),
        (["CHAT AND", "NEWS"], 202, (x0 + 2 + text_width("ARNO: THANKS =)") + 2, 214)),
    ]
    for lines, top, (tx, ty) in left:
        for i, text in enumerate(lines):
            draw_text(c, 90 - text_width(text), top + 10 * i, text, YELLOW)
        arrow_to(c, 91, top + 3, tx, ty, SILVER)
    for lines, top, (tx, ty) in right:
        for i, text in enumerate(lines):
            draw_text(c, 284, top + 10 * i, text, YELLOW)
        arrow_to(c, 282, top + 3, tx, ty, SILVER)
    draw_text(c, 2, 4, "THE STATUS", WHITE, shadow=GREY)
    draw_text(c, 2, 14, "BAR", WHITE, shadow=GREY)
    c.hline(2, 2 + text_width("THE STATUS"), 23, RED)
    return c


def welcome_picture():
    """Bitmap 130: the title over a duel in the maze, 128 x 74."""
    c = Canvas(128, 74)
    bricks = effects.brick_band()
    copy(c, bricks, 0, 0, 0, 0, 128, 5)
    copy(c, bricks, 0, 69, 0, 15, 128, 5)
    title = "VRASK"
    tw = text_width(title, 3)
    draw_text(c, (128 - tw) // 2, 8, title, YELLOW, scale=3, shadow=MAROON)
    tanks_y = 31
    yellow = vehicles.vehicle_up(vehicles.BODIES[0][1], 1).rotated(1)   # facing right
    blue = vehicles.vehicle_up(vehicles.BODIES[1][1], 3).rotated(3)     # facing left
    or_blit(c, yellow.crop(0, 2, 40, 36), 2, tanks_y)
    or_blit(c, blue.crop(0, 2, 40, 36), 86, tanks_y)
    ball = effects.fireball_flying(1)
    or_blit(c, ball.crop(6, 6, 28, 28), 50, tanks_y + 4)
    or_blit(c, vehicles.shield_disc(1).crop(0, 2, 40, 36), 86, tanks_y)
    return c


def program_icon():
    """Icon 102: a yellow tank facing up on black, 32 x 32."""
    c = Canvas(32, 32)
    for x0 in (3, 23):
        for y in range(5, 28):
            for i in range(6):
                if y in (5, 27) and i in (0, 5):
                    continue
                col = BLACK if (y - 5) % 3 == 0 and 0 < i < 5 else SILVER if i in (2, 3) else GREY
                c.set(x0 + i, y, col)
    c.rect(9, 7, 14, 20, YELLOW)
    c.vline(9, 7, 26, WHITE)
    c.hline(9, 22, 7, WHITE)
    c.vline(22, 8, 26, OLIVE)
    c.hline(10, 22, 26, OLIVE)
    c.disc(15.5, 17.5, 5.6, BLACK)
    c.disc(15.5, 17.5, 4.6, OLIVE)
    c.disc(15.0, 17.0, 4.0, YELLOW)
    c.disc(15.5, 17.5, 1.6, RED)
    for y in range(1, 12):
        c.set(14, y, GREY)
        c.set(15, y, WHITE)
        c.set(16, y, SILVER)
        c.set(17, y, GREY)
    c.hline(13, 18, 1, GREY)
    c.hline(13, 18, 2, SILVER)
    c.frame(0, 0, 32, 32, MAROON)
    return c


def cursor():
    """Cursor 104: a gunsight. Fuchsia pixels are transparent, the hot spot
    is its centre (15, 15)."""
    c = Canvas(32, 32, CURSOR_TRANSPARENT)
    cx, cy = CURSOR_HOTSPOT
    c.ring(cx, cy, 7.5, 10.6, BLACK)
    c.ring(cx, cy, 8.4, 9.7, WHITE)
    for d in range(3, 15):
        for a, b in ((cx + d, cy), (cx - d, cy), (cx, cy + d), (cx, cy - d)):
            for ox, oy in ((0, 1), (0, -1), (1, 0), (-1, 0)):
                if c.get(a + ox, b + oy) == CURSOR_TRANSPARENT:
                    c.set(a + ox, b + oy, BLACK)
    for d in range(3, 15):
        for a, b in ((cx + d, cy), (cx - d, cy), (cx, cy + d), (cx, cy - d)):
            c.set(a, b, WHITE)
    c.rect(cx - 1, cy - 1, 3, 3, BLACK)
    c.set(cx, cy, RED)
    return c
