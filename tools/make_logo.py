#!/usr/bin/env python3
"""Draws data/common/RYXLOGO.BMP, the logo of the splash window and the about box: the
program's name in block letters over seven lanes of falling notes."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from make_bitmaps import TRACK_COLOURS, mix, write_bmp  # noqa: E402

WIDTH, HEIGHT = 270, 180
LETTERS = {  # 5 x 7 block letters
    'R': ['1111.', '1...1', '1...1', '1111.', '1.1..', '1..1.', '1...1'],
    'Y': ['1...1', '1...1', '.1.1.', '..1..', '..1..', '..1..', '..1..'],
    'X': ['1...1', '1...1', '.1.1.', '..1..', '.1.1.', '1...1', '1...1'],
}
SCALE = 9
TEXT_TOP = 30
TEXT_LEFT = (WIDTH - (3 * 5 + 2) * SCALE) // 2
LANE_LEFT, LANE_WIDTH, LANE_GAP = 30, 26, 4
NOTES = [(lane, (lane * 53 + k * 61) % (HEIGHT - 10)) for lane in range(7) for k in range(3)]


def letter_pixel(x, y):
    row = (y - TEXT_TOP) // SCALE
    if not 0 <= row < 7:
        return False
    for i, name in enumerate('RYX'):
        col = (x - TEXT_LEFT - i * 6 * SCALE) // SCALE
        if 0 <= col < 5 and x >= TEXT_LEFT + i * 6 * SCALE and LETTERS[name][row][col] == '1':
            return True
    return False


def pixel(x, y):
    if letter_pixel(x, y):
        return (250, 250, 255)
    if letter_pixel(x - 3, y - 3):
        return (10, 10, 20)  # the letters' shadow
    background = mix((18, 22, 44), (50, 30, 80), y / HEIGHT)
    lane = (x - LANE_LEFT) // (LANE_WIDTH + LANE_GAP)
    inside = 0 <= lane < 7 and (x - LANE_LEFT) % (LANE_WIDTH + LANE_GAP) < LANE_WIDTH
    if not inside:
        return background
    for note_lane, top in NOTES:
        if note_lane == lane and top <= y < top + 8:
            return TRACK_COLOURS[(lane * 3) % 16]
    return mix(background, (255, 255, 255), 0.08)


folder = Path(__file__).resolve().parent.parent / 'data' / 'common'
write_bmp(folder / 'RYXLOGO.BMP', WIDTH, HEIGHT, pixel)
