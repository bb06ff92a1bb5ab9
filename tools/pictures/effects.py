"""Fireballs (119), the player explosion (121), the status-bar bricks (117)
and the sound and music icons (124)."""

import math

from .canvas import (AQUA, BLACK, CELL, Canvas, GREY, LIME, MAROON, OLIVE, RED, SILVER,
                     WHITE, YELLOW, sheet, strip_length)
from . import vehicles

CX = CY = 19.5


def noise(*values):
    """A fixed pseudo-random value in [0, 1) for the given integers."""
    h = 2166136261
    for v in values:
        h = ((h ^ (v & 0xFFFFFFFF)) * 16777619) & 0xFFFFFFFF
    h ^= h >> 13
    h = (h * 0x5BD1E995) & 0xFFFFFFFF
    h ^= h >> 15
    return h / 2 ** 32


def flame(c, radius, phase, lobes, colours, wobble=1.6, seed=0):
    """A ragged ball of fire: layered discs whose edge wobbles with angle.

    colours run from the outside in, each layer a bit smaller."""
    n = len(colours)
    for layer, col in enumerate(colours):
        r0 = radius * (1 - layer / (n + 0.6))
        for y in range(CELL):
            for x in range(CELL):
                dx, dy = x - CX, y - CY
                d = math.hypot(dx, dy)
                a = math.atan2(dy, dx)
                edge = r0 + wobble * math.sin(lobes * a + phase * math.pi / 2 + layer) \
                    + (noise(seed, layer, int(a * 6) % 38) - 0.5) * wobble
                if d <= edge:
                    c.set(x, y, col)


def sparks(c, count, r_min, r_max, seed, colours):
    for k in range(count):
        a = noise(seed, k, 1) * 2 * math.pi
        r = r_min + noise(seed, k, 2) * (r_max - r_min)
        col = colours[int(noise(seed, k, 3) * len(colours))]
        x, y = CX + math.cos(a) * r, CY + math.sin(a) * r
        c.set(round(x), round(y), col)
        if noise(seed, k, 4) < 0.4:
            c.set(round(x + math.cos(a)), round(y + math.sin(a)), col)


def fireball_flying(phase):
    """A spinning ball of fire with a white-hot core."""
    c = Canvas(CELL, CELL)
    flame(c, 9.0, phase, 7, [MAROON, RED, YELLOW, WHITE], wobble=1.2, seed=phase)
    # a trail of sparks circling the ball
    for k in range(3):
        a = phase * math.pi / 6 + k * 2 * math.pi / 3
        c.set(round(CX + math.cos(a) * 12), round(CY + math.sin(a) * 12), YELLOW)
        c.set(round(CX + math.cos(a - 0.3) * 13), round(CY + math.sin(a - 0.3) * 13), RED)
    return c


def fireball_exploding(phase):
    """The fireball bursts: flash, fire cloud, ring of flame, smoke."""
    c = Canvas(CELL, CELL)
    if phase == 0:
        flame(c, 10, 0, 7, [RED, YELLOW, WHITE, WHITE], wobble=2.0, seed=10)
        sparks(c, 14, 11, 15, 20, [YELLOW, WHITE])
    elif phase == 1:
        flame(c, 14, 1, 7, [MAROON, RED, YELLOW, WHITE], wobble=2.4, seed=11)
        sparks(c, 18, 14, 18, 21, [YELLOW, RED, WHITE])
    elif phase == 2:
        flame(c, 17, 2, 8, [MAROON, RED, YELLOW], wobble=2.0, seed=12)
        c.disc(CX, CY, 7, BLACK)
        flame_core = Canvas(CELL, CELL)
        flame(flame_core, 5, 2, 5, [MAROON, RED], wobble=1.5, seed=13)
        c.blit(flame_core, 0, 0, transparent=BLACK)
        sparks(c, 16, 17, 19.5, 22, [RED, YELLOW])
    else:
        ring = Canvas(CELL, CELL)
        flame(ring, 18.5, 3, 9, [GREY, MAROON], wobble=1.5, seed=14)
        ring.disc(CX, CY, 12, BLACK)
        for y in range(CELL):
            for x in range(CELL):
                if ring.get(x, y) != BLACK and noise(x, y, 15) < 0.6:
                    c.set(x, y, ring.get(x, y))
        sparks(c, 12, 4, 12, 23, [GREY, MAROON, RED])
    return c


def fireball_sheet():
    """Bitmap 119: row 0 flying, row 1 exploding, four phases each."""
    return sheet([[fireball_flying(p) for p in range(4)],
                  [fireball_exploding(p) for p in range(4)]])


def hit_vehicle(flash):
    """A vehicle seen at the moment of the hit, bleached by the flash."""
    body = vehicles.vehicle_up(vehicles.BODIES[7][1], 0)
    c = Canvas(CELL, CELL)
    for y in range(34):
        for x in range(CELL):
            v = body.get(x, y)
            if v != BLACK:
                c.set(x, y, flash.get(v, v))
    return c


def explosion_step(step):
    if step == 0:
        # the hit: the vehicle flashes white and sparks fly from it
        c = hit_vehicle({GREY: SILVER, SILVER: WHITE})
        flame(c, 5, 0, 5, [RED, YELLOW, WHITE], wobble=1.0, seed=30)
        sparks(c, 12, 8, 17, 31, [YELLOW, WHITE])
        return c
    if step == 1:
        # the hull breaks up, fire bursts from the turret
        c = hit_vehicle({WHITE: YELLOW, SILVER: RED, GREY: MAROON})
        for y in range(CELL):
            for x in range(CELL):
                if noise(x // 2, y // 2, 32) < 0.3:
                    c.set(x, y, BLACK)
        flame(c, 10, 1, 6, [RED, YELLOW, WHITE], wobble=2.0, seed=33)
        sparks(c, 16, 12, 19, 34, [YELLOW, WHITE, RED])
        return c
    if step == 2:
        c = Canvas(CELL, CELL)
        sparks(c, 10, 4, 18, 35, [GREY, SILVER])
        flame(c, 14, 2, 7, [MAROON, RED, YELLOW, WHITE], wobble=2.4, seed=36)
        sparks(c, 14, 14, 19.5, 37, [YELLOW, RED])
        return c
    if step == 3:
        c = Canvas(CELL, CELL)
        flame(c, 18, 3, 8, [MAROON, RED, YELLOW, WHITE], wobble=2.0, seed=38)
        sparks(c, 18, 6, 16, 39, [WHITE, YELLOW])
        return c
    if step == 4:
        c = Canvas(CELL, CELL)
        flame(c, 19, 4, 9, [RED, RED, YELLOW], wobble=1.4, seed=40)
        inner = Canvas(CELL, CELL)
        flame(inner, 9, 4, 5, [MAROON, RED], wobble=1.5, seed=41)
        c.blit(inner, 0, 0, transparent=BLACK)
        return c
    # step 5: the red blast
    c = Canvas(CELL, CELL)
    flame(c, 19.5, 5, 10, [MAROON, RED], wobble=1.2, seed=42)
    for y in range(CELL):
        for x in range(CELL):
            d = math.hypot(x - CX, y - CY)
            if d < 11 and c.get(x, y) != BLACK:
                c.set(x, y, RED if noise(x, y, 43) < 0.75 else MAROON)
    sparks(c, 10, 3, 15, 44, [MAROON, GREY])
    return c


def explosion_sheet():
    """Bitmap 121: six steps from the hit vehicle to the red blast."""
    return sheet([[explosion_step(s) for s in range(6)]])


def brick_band():
    """Bitmap 117: dark red bricks, 175 x 52.

    Courses are 10 pixels high and repeat every 20, so copies taken from
    source rows 0, 4 and 20 line up with one another on the status bar."""
    w, h = 175, 52
    c = Canvas(w, h, BLACK)
    for y in range(h):
        course = y // 10
        row = y % 10
        shift = 0 if course % 2 == 0 else 11
        for x in range(w):
            bx = (x + shift) % 22
            if row == 9 or bx == 21:
                c.set(x, y, BLACK)
                continue
            if row == 8 or bx == 20:
                col = GREY if (row == 8 and bx == 20) else BLACK if row == 8 else MAROON
            elif row == 0 or bx == 0:
                col = RED if noise(x, course % 2, 50) < 0.7 else MAROON
            else:
                col = MAROON
                if noise(x, y % 20, 51) < 0.025:
                    col = RED
            c.set(x, y, col)
    return c


def speaker(phase):
    """Sounds on: a loudspeaker sending out waves that travel outwards."""
    c = Canvas(CELL, CELL)
    c.rect(3, 15, 5, 10, SILVER)
    c.vline(3, 15, 24, WHITE)
    c.polygon([(7.5, 15), (13.5, 9), (13.5, 30), (7.5, 24)], WHITE)
    c.vline(13, 10, 29, SILVER)
    c.vline(8, 15, 24, GREY)
    # three arcs move out 0.75 pixels a phase, 3 apart, so phase 3 leads
    # back into phase 0; they dim as they spread
    for k in range(3):
        r = 4 + 3 * k + phase * 0.75
        col = YELLOW if r < 9.5 else OLIVE
        for step in range(-40, 41):
            a = step * math.pi / 120 * (1 + r / 14)
            if abs(a) > 0.95:
                continue
            c.set(round(13.5 + math.cos(a) * r), round(19.5 + math.sin(a) * r), col)
    return c


def note(phase):
    """Music on: a bobbing musical note (the cell is read from one pixel
    in, so its first column stays empty)."""
    c = Canvas(CELL, CELL)
    bob = [0, -1, -2, -1][phase]
    hx, hy = 23.5, 29.5 + bob
    for y in range(CELL):
        for x in range(CELL):
            dx, dy = x - hx, y - hy
            u = dx * 0.8 + dy * 0.6
            v = -dx * 0.6 + dy * 0.8
            if (u / 4.2) ** 2 + (v / 2.9) ** 2 <= 1:
                c.set(x, y, AQUA)
    c.set(21, int(28 + bob), WHITE)
    c.set(22, int(28 + bob), WHITE)
    c.vline(27, int(8 + bob), int(29 + bob), AQUA)
    c.vline(26, int(9 + bob), int(28 + bob), WHITE)
    flag = [(28, 9), (29, 10), (30, 11), (31, 12), (32, 13), (32, 14), (33, 15),
            (33, 16), (33, 17), (32, 18), (32, 19), (31, 20)]
    for x, y in flag:
        c.set(x, y + bob, AQUA)
    for x, y in flag[:6]:
        c.set(x, y + 1 + bob, AQUA)
    # a twinkle beside the note
    tw = [(35, 6), (36, 4), (35, 7), (37, 9)][phase]
    c.set(tw[0], tw[1], YELLOW if phase % 2 else WHITE)
    return c


def icon_sheet():
    """Bitmap 124: column 0 speaker, column 1 note, rows are phases."""
    return sheet([[speaker(p), note(p)] for p in range(4)])
