#!/usr/bin/env python3
"""Draws every picture of the game into resources/ as 16-colour BMP files.

Usage: tools/make_pictures.py [output folder]   (default: resources/)
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from pictures.canvas import write_bmp  # noqa: E402
from pictures import dialog_pictures, effects, tiles, vehicles  # noqa: E402
from pictures.desktop_icon import SIZES, desktop_icon, write_png  # noqa: E402


def vehicle_sheets():
    """Bitmaps 109-116, the vehicles of slot numbers 1..8."""
    return {"bitmap%d.bmp" % (109 + i): (lambda c=colours: vehicles.vehicle_sheet(c))
            for i, (_, colours) in enumerate(vehicles.BODIES)}


PICTURES = {
    "bitmap108.bmp": tiles.tile_strip,
    **vehicle_sheets(),
    "bitmap117.bmp": effects.brick_band,
    "bitmap118.bmp": vehicles.computer_mark,
    "bitmap119.bmp": effects.fireball_sheet,
    "bitmap120.bmp": vehicles.shield_sheet,
    "bitmap121.bmp": effects.explosion_sheet,
    "bitmap123.bmp": dialog_pictures.status_bar_help,
    "bitmap124.bmp": effects.icon_sheet,
    "bitmap130.bmp": dialog_pictures.welcome_picture,
    "bitmap131.bmp": vehicles.own_mark,
    "icon102.bmp": dialog_pictures.program_icon,
    "cursor104.bmp": dialog_pictures.cursor,
}


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources")
    os.makedirs(out, exist_ok=True)
    for name, draw in PICTURES.items():
        write_bmp(os.path.join(out, name), draw())
        print("wrote", os.path.join(out, name))
    # The installed desktop icon, drawn at each size of the icon theme.
    icons = os.path.join(out, "icons")
    os.makedirs(icons, exist_ok=True)
    for size in SIZES:
        path = os.path.join(icons, "vrask-%d.png" % size)
        write_png(path, desktop_icon(size))
        print("wrote", path)


if __name__ == "__main__":
    main()
