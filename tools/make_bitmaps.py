#!/usr/bin/env python3
"""Draws the chart view's artwork into data/common/<layout>/: note.bmp (68 note cells),
scroll.bmp (the scroll column with its two buttons) and scbutton.bmp (the pressed button above
the thumb; black is transparent in the thumb). Run it again after changing a colour or shape."""
import colorsys
import struct
from pathlib import Path

LAYOUTS = {  # folder: (laneWidth, cellHeight, laneHeight, buttonHeight)
    '1024x720': (30, 10, 580, 20),
    '800x600': (20, 5, 390, 10),
}

# Sixteen track colours spread around the colour wheel, alternating brightness so that
# neighbouring tracks stay apart.
TRACK_COLOURS = []
for i in range(16):
    hue = (i * 7 % 16) / 16.0
    light = 0.45 if i % 2 == 0 else 0.58
    r, g, b = colorsys.hls_to_rgb(hue, light, 0.85)
    TRACK_COLOURS.append((int(r * 255), int(g * 255), int(b * 255)))
GREY = (150, 150, 150)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y counted from the top."""
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        data += row + bytes(row_size - len(row))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    path.write_bytes(header + info + data)


def note_cell(kind, colour, w, h, x, y):
    """One cell: 'short' (a rounded bar), 'long' (a bar with a white band: the note can be held),
    'cap' (the rounded top of a held note's body) and 'slice' (a piece of the body)."""
    edge = x == 0 or x == w - 1
    if kind == 'short':
        if (y == 0 or y == h - 1) and (x < 2 or x > w - 3):
            return (255, 255, 255)
        if y == 0 or y == h - 1 or edge:
            return mix(colour, (0, 0, 0), 0.35)
        return mix(colour, (255, 255, 255), 0.25) if y < h // 2 else colour
    if kind == 'long':
        if y == 0 or y == h - 1 or edge:
            return mix(colour, (0, 0, 0), 0.55)
        if y == h // 2 or (h > 6 and y == h // 2 - 1):
            return (255, 255, 255)
        return colour
    body = mix(colour, (255, 255, 255), 0.55)
    if kind == 'cap':
        if y == 0 and (x < 3 or x > w - 4):
            return (255, 255, 255)
        if y == 0 or edge:
            return mix(colour, (0, 0, 0), 0.25)
        return body
    # slice
    if edge or x == 1 or x == w - 2:
        return mix(colour, (0, 0, 0), 0.2)
    return body


def draw_notes(folder, w, h):
    cells = []
    for kind in ('short', 'long', 'cap', 'slice'):
        cells += [(kind, TRACK_COLOURS[t]) for t in range(16)]
    cells += [(kind, GREY) for kind in ('short', 'long', 'cap', 'slice')]
    write_bmp(folder / 'note.bmp', w, h * len(cells),
              lambda x, y: note_cell(cells[y // h][0], cells[y // h][1], w, h, x, y % h))


def arrow(x, y, w, h, up):
    """True inside a small triangle pointing up or down, centred in a w x h button."""
    cy = h // 2
    size = max(2, min(w, h) // 3)
    dy = (y - cy) if up else (cy - y)
    dy += size // 2
    return 0 <= dy < size and abs(x - w // 2) <= dy


def draw_scroll(folder, w, lane_height, bh):
    face, dark, light = (212, 214, 220), (120, 124, 132), (250, 250, 252)
    def pixel(x, y):
        if y < bh or y >= lane_height - bh:
            by = y if y < bh else y - (lane_height - bh)
            if arrow(x, by, w, bh, up=y < bh):
                return (60, 64, 72)
            if by == 0 or x == 0:
                return light
            if by == bh - 1 or x == w - 1:
                return dark
            return face
        groove = (232, 233, 236)
        return mix(groove, (200, 202, 208), 0.5) if x in (0, w - 1) else groove
    write_bmp(folder / 'scroll.bmp', w, lane_height, pixel)


def draw_buttons(folder, w, bh):
    def pixel(x, y):
        if y < bh:  # pressed button: sunk, darker face
            if y == 0 or x == 0:
                return (100, 104, 112)
            if y == bh - 1 or x == w - 1:
                return (245, 245, 248)
            return (160, 164, 172)
        ty = y - bh  # thumb: a rounded blue bar, black corners stay transparent
        corner = (ty in (0, bh - 1)) and (x in (0, w - 1))
        if corner:
            return (0, 0, 0)
        if ty in (0, bh - 1) or x in (0, w - 1):
            return (40, 70, 140)
        return (90, 130, 210) if ty < bh // 2 else (70, 110, 190)
    write_bmp(folder / 'scbutton.bmp', w, 2 * bh, pixel)


if __name__ == '__main__':
    root = Path(__file__).resolve().parent.parent / 'data' / 'common'
    for name, (lane_width, cell_height, lane_height, button_height) in LAYOUTS.items():
        folder = root / name
        folder.mkdir(parents=True, exist_ok=True)
        draw_notes(folder, lane_width, cell_height)
        draw_scroll(folder, lane_width, lane_height, button_height)
        draw_buttons(folder, lane_width, button_height)
