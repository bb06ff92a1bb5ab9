"""The tile strip (bitmap 108): nine tile codes, four animation phases each.

Walls are copied plainly side by side, so every wall pattern repeats every
40 pixels and meets its neighbours without a seam.
"""

import math

from .canvas import (AQUA, BLACK, BLUE, CELL, Canvas, FUCHSIA, GREEN, GREY, LIME,
                     MAROON, NAVY, OLIVE, PURPLE, RED, SILVER, TEAL, WHITE, YELLOW,
                     sheet)

PHASES = 4


def floor(phase):
    return Canvas(CELL, CELL)


def red_bricks(phase):
    """Red bricks in grey mortar; a glint of light runs along one course."""
    c = Canvas(CELL, CELL, GREY)
    for course in range(4):
        top = course * 10
        shift = 0 if course % 2 == 0 else 10
        for b in range(-1, 3):
            left = b * 20 + shift
            for y in range(top, top + 9):
                for x in range(left, left + 19):
                    xx = x % CELL
                    edge_bottom = y == top + 8
                    edge_right = x == left + 18
                    edge_top = y == top
                    if edge_bottom or edge_right:
                        col = MAROON
                    elif edge_top or x == left:
                        col = RED
                    else:
                        col = RED
                    c.set(xx, y, col)
            # a few dark speckles give each brick a little texture
            for (dx, dy) in ((4, 3), (12, 5), (8, 6), (15, 2)):
                if (b + course) % 2 == 0 or dx != 12:
                    c.set((left + dx + course * 3) % CELL, top + dy, MAROON)
    # the glint: a bright streak on the top edge of one brick per phase,
    # walking diagonally down the wall
    course = phase
    shift = 0 if course % 2 == 0 else 10
    left = (phase * 20 + shift + 10) % CELL
    for i in range(3, 14):
        c.set((left + i) % CELL, course * 10 + 1, YELLOW if 5 <= i <= 11 else WHITE if i == 8 else RED)
    c.set((left + 8) % CELL, course * 10 + 1, WHITE)
    c.set((left + 8) % CELL, course * 10 + 2, YELLOW)
    return c


def yellow_lattice(phase):
    """A diagonal lattice of yellow bars; bright sparks travel along them."""
    c = Canvas(CELL, CELL)
    for y in range(CELL):
        for x in range(CELL):
            a = (x + y) % 10
            b = (x - y) % 10
            on_a = a in (0, 1)
            on_b = b in (0, 1)
            if on_a and on_b:
                c.set(x, y, YELLOW)
            elif on_a:
                c.set(x, y, YELLOW if a == 0 else OLIVE)
            elif on_b:
                c.set(x, y, YELLOW if b == 0 else OLIVE)
    # rivets at the crossings
    for y in range(CELL):
        for x in range(CELL):
            if (x + y) % 10 == 0 and (x - y) % 10 == 0 and (x + y) % 20 == 0:
                c.set(x, y, WHITE)
    # sparks run along every other bar, 4 pixels a phase; they repeat every
    # 16, so phase 3 leads back into phase 0
    for y in range(CELL):
        for x in range(CELL):
            if (x + y) % 20 == 0 and (x - y - 4 * phase) % 16 == 0:
                c.set(x, y, WHITE)
                c.set(x + 1, y - 1, WHITE)
            if (x - y) % 20 == 10 and (x + y + 4 * phase) % 16 == 0:
                c.set(x, y, WHITE)
                c.set(x - 1, y - 1, WHITE)
    return c


WINDOW_LIGHTS = [
    # lit windows (row-major, 3 x 3) per phase: lights go on and off
    [1, 1, 0, 1, 0, 1, 1, 1, 1],
    [1, 1, 1, 1, 0, 1, 0, 1, 1],
    [0, 1, 1, 1, 1, 1, 0, 1, 0],
    [1, 0, 1, 1, 1, 0, 1, 1, 1],
]


def blue_block(phase):
    """A blue bevelled block with a 3 x 3 grid of yellow windows."""
    c = Canvas(CELL, CELL, BLUE)
    c.rect(0, 0, CELL, 2, AQUA)
    c.rect(0, 0, 2, CELL, AQUA)
    c.rect(0, CELL - 2, CELL, 2, NAVY)
    c.rect(CELL - 2, 0, 2, CELL, NAVY)
    c.set(0, CELL - 1, NAVY)
    c.set(CELL - 1, 0, NAVY)
    c.set(1, CELL - 2, BLUE)
    c.set(CELL - 2, 1, BLUE)
    lights = WINDOW_LIGHTS[phase]
    for r in range(3):
        for col in range(3):
            x, y = 5 + col * 11, 5 + r * 11
            c.rect(x - 1, y - 1, 9, 9, NAVY)
            lit = lights[r * 3 + col]
            c.rect(x, y, 7, 7, YELLOW if lit else BLACK)
            if lit:
                c.set(x, y, WHITE)
                c.set(x + 1, y, WHITE)
                c.set(x, y + 1, WHITE)
                c.vline(x + 3, y, y + 6, OLIVE)
                c.hline(x, x + 6, y + 3, OLIVE)
            else:
                c.vline(x + 3, y, y + 6, NAVY)
                c.hline(x, x + 6, y + 3, NAVY)
    return c


def smoke_puffs(phase):
    """(x, y, radius, colour) of the puffs above the chimney: they rise
    2 pixels a phase and a new one starts every 8, so the loop is seamless."""
    puffs = []
    for k in range(3):
        h = 2 * phase + 8 * k           # height above the chimney top
        r = 2.0 + h * 0.12
        col = WHITE if h < 6 else SILVER if h < 12 else GREY
        puffs.append((28.5 + h * 0.45, 11 - h, r, col))
    return puffs


def house(phase):
    """A cottage seen from the side: red roof, white walls, smoking chimney."""
    c = Canvas(CELL, CELL)
    # walls
    c.rect(6, 22, 28, 15, SILVER)
    c.vline(6, 22, 36, WHITE)
    c.vline(33, 22, 36, GREY)
    for y in range(24, 37, 3):
        c.hline(7, 32, y, WHITE if y % 2 else SILVER)
    # door
    c.rect(16, 27, 7, 10, MAROON)
    c.vline(16, 27, 36, RED)
    c.set(21, 32, YELLOW)
    # windows
    for wx in (9, 26):
        c.rect(wx, 26, 5, 5, YELLOW)
        c.vline(wx + 2, 26, 30, OLIVE)
        c.hline(wx, wx + 4, 28, OLIVE)
        c.frame(wx - 1, 25, 7, 7, GREY)
    # chimney behind the roof
    c.rect(26, 10, 5, 10, MAROON)
    c.rect(25, 9, 7, 2, GREY)
    c.vline(26, 11, 19, RED)
    # roof
    c.polygon([(2.5, 23), (20, 9.5), (37.5, 23)], RED)
    for y in range(10, 23):
        span = (y - 9.5) * 17.5 / 13.5
        left, right = int(math.ceil(20 - span)), int(20 + span)
        c.set(left, y, YELLOW if y % 2 else RED)
        c.set(right, y, MAROON)
        if y % 3 == 1:
            c.hline(left + 2, right - 2, y, MAROON)
    c.hline(2, 37, 23, MAROON)
    # the house stands 3 pixels lower, leaving room for the smoke
    out = Canvas(CELL, CELL)
    out.blit(c, 0, 3)
    out.rect(0, 38, CELL, 2, GREEN)
    for x in range(0, CELL, 3):
        out.set(x, 38, LIME)
    for x, y, r, col in smoke_puffs(phase):
        out.disc(x, y, r, GREY)
        out.disc(x - 0.5, y - 0.5, r - 0.7, col)
    return out


# Shading across one log, left to right: rim, bark, body, highlight, body.
LOG_SHADES = [BLACK, MAROON, OLIVE, YELLOW, OLIVE, OLIVE, OLIVE, MAROON, MAROON, BLACK]


def log_column(c, x0, offset):
    """One vertical log, 10 wide; its bark rings are scrolled down by
    offset. The rings repeat every 8 pixels, so 4 phases of 2 pixels loop."""
    for y in range(CELL):
        yy = (y - offset) % 8
        for i, col in enumerate(LOG_SHADES):
            if yy == 0 and 1 <= i <= 8:
                col = MAROON if i not in (3,) else OLIVE
            elif yy == 4 and i in (5, 6):
                col = MAROON
            c.set(x0 + i, y, col)


def vertical_logs(phase):
    """Four vertical logs sliding downwards, 2 pixels a phase."""
    c = Canvas(CELL, CELL)
    for k in range(4):
        log_column(c, k * 10, phase * 2 + k * 3)
    return c


def horizontal_logs(phase):
    """The vertical logs turned a quarter; they slide to the left."""
    return vertical_logs(phase).rotated(1)


ARROW = [(0, -15.5), (5.5, -10), (2, -10), (2, -4.5), (-2, -4.5), (-2, -10), (-5.5, -10)]


def arrow_panel(phase):
    """A bevelled grey panel with four arrows; the lit arrow goes round."""
    c = Canvas(CELL, CELL, SILVER)
    c.rect(0, 0, CELL, 2, WHITE)
    c.rect(0, 0, 2, CELL, WHITE)
    c.rect(0, CELL - 2, CELL, 2, GREY)
    c.rect(CELL - 2, 0, 2, CELL, GREY)
    c.rect(4, 4, 32, 32, GREY)
    c.rect(5, 5, 31, 31, SILVER)
    c.rect(5, 5, 30, 30, SILVER)
    for (x, y) in ((3, 3), (36, 3), (3, 36), (36, 36)):
        c.set(x, y, GREY)
    lit = phase  # up, right, down, left in turn
    for k in range(4):
        a = k * math.pi / 2
        ca, sa = math.cos(a), math.sin(a)
        pts = [(19.5 + px * ca - py * sa, 19.5 + px * sa + py * ca) for px, py in ARROW]
        shadow = [(x + 1, y + 1) for x, y in pts]
        c.polygon(shadow, GREY)
        c.polygon(pts, RED if k == lit else NAVY)
    c.disc(19.5, 19.5, 2.2, GREY)
    c.disc(19.0, 19.0, 1.2, WHITE)
    return c


def wheel(phase):
    """A spoked iron wheel on a dark plate, turning 22.5 degrees a phase."""
    c = Canvas(CELL, CELL, NAVY)
    c.frame(0, 0, CELL, CELL, GREY)
    c.frame(1, 1, CELL - 2, CELL - 2, BLACK)
    for (x, y) in ((3, 3), (36, 3), (3, 36), (36, 36)):
        c.set(x, y, SILVER)
    cx = cy = 19.5
    c.ring(cx, cy, 13.5, 17.2, GREY)
    c.ring(cx, cy, 14.5, 16.5, SILVER)
    angle0 = phase * math.pi / 8
    for k in range(4):
        a = angle0 + k * math.pi / 2
        ca, sa = math.cos(a), math.sin(a)
        w = 1.8
        pts = [(cx + ca * 3 - sa * w, cy + sa * 3 + ca * w),
               (cx + ca * 14 - sa * w, cy + sa * 14 + ca * w),
               (cx + ca * 14 + sa * w, cy + sa * 14 - ca * w),
               (cx + ca * 3 + sa * w, cy + sa * 3 - ca * w)]
        c.polygon(pts, SILVER)
        c.line(cx + ca * 4, cy + sa * 4, cx + ca * 13, cy + sa * 13, WHITE)
    # bolts on the rim turn with the wheel
    for k in range(8):
        a = angle0 + math.pi / 4 + k * math.pi / 2 if k < 4 else None
        if a is None:
            break
        c.disc(cx + math.cos(a) * 15.5, cy + math.sin(a) * 15.5, 1.0, RED)
    c.disc(cx, cy, 4.2, MAROON)
    c.disc(cx, cy, 3.0, RED)
    c.disc(cx - 1, cy - 1, 1.0, YELLOW)
    return c


TILES = [floor, red_bricks, yellow_lattice, blue_block, house, vertical_logs,
         arrow_panel, horizontal_logs, wheel]


def tile_strip():
    """Bitmap 108: row t holds tile code t, the column is the phase."""
    return sheet([[draw(p) for p in range(PHASES)] for draw in TILES])
