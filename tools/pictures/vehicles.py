"""The tracked vehicles (bitmaps 109-116), the computer and own marks (118,
131) and the shield discs (120).

A vehicle is drawn facing up and turned for the other facings. Its turret
has a black hatch in the middle: the marks are ORed over the vehicle, and
their dome lands on that black hatch, so it shows in its own colour on every
body colour. Everything outside the vehicle is black.
"""

from .canvas import (AQUA, BLACK, BLUE, CELL, Canvas, FUCHSIA, GREEN, GREY, LIME,
                     MAROON, NAVY, OLIVE, PURPLE, RED, SILVER, TEAL, WHITE, YELLOW,
                     sheet)

PHASES = 4

# Body colours of slot numbers 1..8: (highlight, body, shade, turret rim).
BODIES = [
    ("yellow", (WHITE, YELLOW, OLIVE, BLACK)),
    ("blue", (AQUA, BLUE, NAVY, BLACK)),
    ("cyan", (WHITE, AQUA, TEAL, BLACK)),
    ("green", (WHITE, LIME, GREEN, BLACK)),
    ("maroon", (RED, MAROON, BLACK, BLACK)),
    ("magenta", (WHITE, FUCHSIA, PURPLE, BLACK)),
    ("red", (YELLOW, RED, MAROON, BLACK)),
    ("white", (WHITE, WHITE, SILVER, BLACK)),
]

# Facing columns: 0 left, 1 up, 2 right, 3 down, as clockwise quarter turns
# of the vehicle drawn facing up.
FACING_TURNS = [3, 0, 1, 2]

TURRET_X, TURRET_Y = 19.5, 20.5   # turret centre of the vehicle facing up
HATCH_RADIUS = 2.6
TRACK_TOP, TRACK_BOTTOM = 6, 33


def draw_tracks(c):
    for x0 in (4, 29):
        for y in range(TRACK_TOP, TRACK_BOTTOM + 1):
            for i in range(7):
                x = x0 + i
                end = y in (TRACK_TOP, TRACK_BOTTOM)
                if end and i in (0, 6):
                    continue  # rounded corners
                if i == 0 or i == 6:
                    col = GREY
                elif end:
                    col = GREY
                elif (y - TRACK_TOP) % 3 == 0:
                    col = BLACK
                else:
                    col = SILVER if i in (2, 3) else GREY
                c.set(x, y, col)
        # the road wheels' hubs show through the tread
        for y in (10, 16, 22, 28):
            c.set(x0 + 3, y + 1, WHITE)


def draw_hull(c, hi, body, shade):
    c.rect(11, 8, 18, 25, body)
    c.vline(11, 9, 31, hi)
    c.hline(11, 27, 8, hi)
    c.vline(28, 9, 32, shade)
    c.hline(12, 28, 32, shade)
    # front glacis plate and the engine deck's grille at the rear
    c.hline(13, 26, 10, shade)
    for x in range(14, 26, 2):
        c.set(x, 29, shade)
        c.set(x, 30, shade)
    # exhaust pipes
    for x in (14, 25):
        c.set(x, 33, GREY)
        c.set(x, 32, GREY)


def draw_turret(c, hi, body, shade, rim):
    c.disc(TURRET_X, TURRET_Y, 6.8, rim)
    c.disc(TURRET_X, TURRET_Y, 5.8, shade if shade != BLACK else body)
    c.disc(TURRET_X - 0.6, TURRET_Y - 0.6, 5.0, body)
    # a highlight on the upper left of the dome of the turret
    for (x, y) in ((16, 17), (17, 16), (15, 18), (18, 15)):
        c.set(x, y, hi)
    c.disc(TURRET_X, TURRET_Y, HATCH_RADIUS, BLACK)


def draw_barrel(c):
    for y in range(1, 15):
        c.set(18, y, GREY)
        c.set(19, y, WHITE if y < 12 else SILVER)
        c.set(20, y, SILVER)
        c.set(21, y, GREY)
    # muzzle brake
    c.hline(17, 22, 1, GREY)
    c.hline(17, 22, 2, SILVER)
    c.set(19, 2, WHITE)
    c.set(18, 1, SILVER)


def exhaust_puffs(c, phase):
    """Two pipes puff in turn: a puff leaves, grows, greys and fades over
    four phases, so the rows loop as a steady smoke trail."""
    for pipe_x, offset, drift in ((14, 0, -1), (25, 2, 1)):
        p = (phase + offset) % 4
        y = 35 + p * 1.3
        x = pipe_x + drift * p * 0.6
        if p == 0:
            c.disc(x, y, 1.0, WHITE)
        elif p == 1:
            c.disc(x, y, 1.6, SILVER)
            c.set(round(x), round(y), WHITE)
        elif p == 2:
            c.disc(x, y, 2.0, GREY)
            c.disc(x - 0.5, y - 0.5, 1.0, SILVER)
        else:
            for dx, dy in ((-2, 0), (1, -1), (2, 1), (-1, 2), (0, 0)):
                c.set(round(x) + dx, min(39, round(y) + dy), GREY)


def vehicle_up(colours, phase):
    hi, body, shade, rim = colours
    c = Canvas(CELL, CELL)
    draw_tracks(c)
    draw_hull(c, hi, body, shade)
    draw_barrel(c)
    draw_turret(c, hi, body, shade, rim)
    # the barrel's root over the turret rim
    for y in (13, 14):
        c.set(19, y, SILVER)
        c.set(20, y, SILVER)
    exhaust_puffs(c, phase)
    return c


def silhouette_up():
    """The vehicle's own pixels (not the smoke), facing up."""
    c = vehicle_up(BODIES[0][1], 0)
    mask = Canvas(CELL, CELL)
    for y in range(CELL):
        for x in range(CELL):
            if y <= TRACK_BOTTOM and c.get(x, y) != BLACK:
                mask.set(x, y, WHITE)
    # the turret hatch and the tread gaps belong to the vehicle as well
    mask.disc(TURRET_X, TURRET_Y, 6.8, WHITE)
    for x0 in (4, 29):
        mask.rect(x0, TRACK_TOP + 1, 7, TRACK_BOTTOM - TRACK_TOP - 1, WHITE)
    return mask


def vehicle_sheet(colours):
    return sheet([[vehicle_up(colours, p).rotated(FACING_TURNS[f]) for f in range(4)]
                  for p in range(PHASES)])


def mark_up(dome, dome_light, outline):
    """A mark facing up: an outline hugging the vehicle and a dome
    over the turret hatch."""
    sil = silhouette_up()
    c = Canvas(CELL, CELL)
    for y in range(CELL):
        for x in range(CELL):
            if sil.get(x, y) != BLACK:
                continue
            near = any(sil.get(x + dx, y + dy) != BLACK
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if near:
                c.set(x, y, outline)
    c.disc(TURRET_X, TURRET_Y, HATCH_RADIUS, dome)
    c.set(18, 19, dome_light)
    c.set(19, 19, dome_light)
    c.set(18, 20, dome_light)
    return c


def mark_sheet(dome, dome_light, outline):
    cell = mark_up(dome, dome_light, outline)
    return sheet([[cell.rotated(FACING_TURNS[f]) for f in range(4)] for _ in range(PHASES)])


def computer_mark():
    """Bitmap 118: yellow dome."""
    return mark_sheet(YELLOW, WHITE, OLIVE)


def own_mark():
    """Bitmap 131: green dome."""
    return mark_sheet(LIME, WHITE, GREEN)


SHIELDS = [
    # (fill, rim) for phases 0..3
    (OLIVE, OLIVE),
    (PURPLE, YELLOW),
    (GREEN, GREEN),
    (NAVY, FUCHSIA),
]
SHIELD_RADIUS = 19.5


def shield_disc(phase):
    fill, rim = SHIELDS[phase]
    c = Canvas(CELL, CELL)
    c.disc(19.5, 19.5, SHIELD_RADIUS, rim)
    c.disc(19.5, 19.5, SHIELD_RADIUS - 2.0, BLACK)
    # the inside is a fine mesh, so the vehicle under it stays readable
    inner = Canvas(CELL, CELL)
    inner.disc(19.5, 19.5, SHIELD_RADIUS - 2.0, fill)
    for y in range(CELL):
        for x in range(CELL):
            if inner.get(x, y) != BLACK and (x + y) % 2 == 0:
                c.set(x, y, fill)
    return c


def shield_sheet():
    """Bitmap 120: one row of four shield phases."""
    return sheet([[shield_disc(p) for p in range(PHASES)]])
