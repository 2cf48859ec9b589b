#!/usr/bin/env python3
"""Writes data/demo.mid, the demo song RYX Creator converts when run without a file: eight
bars in C major at 480 ticks per quarter note, with a melody (flute), chords (piano), a bass
line, drums and a tempo change from 112 to 128 beats per minute at bar 5."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from smf_bytes import chunk, meta, smf, varlen  # noqa: E402

Q = 480  # ticks per quarter note
BAR = 4 * Q

def track(events, name=None):
    """events: (absolute tick, bytes) pairs; a name becomes the track's name event."""
    timed = ([(0, meta(0x03, name.encode()))] if name else []) + sorted(events, key=lambda e: e[0])
    body, now = b'', 0
    for tick, data in timed:
        body += varlen(tick - now) + data
        now = tick
    body += varlen(0) + meta(0x2F, b'')
    return chunk(body)

def notes(channel, items, velocity=96):
    """items: (start tick, length in ticks, key)."""
    out = []
    for start, length, key in items:
        out.append((start, bytes([0x90 | channel, key, velocity])))
        out.append((start + length, bytes([0x80 | channel, key, 0])))
    return out

def tempo(bpm):
    return meta(0x51, (60_000_000 // bpm).to_bytes(3, 'big'))

conductor = [(0, meta(0x58, bytes([4, 2, 24, 8]))), (0, meta(0x59, bytes([0, 0]))), (0, tempo(112)),
             (0, meta(0x06, b'Verse')), (4 * BAR, tempo(128)), (4 * BAR, meta(0x06, b'Chorus'))]

# Chords: C, Am, F, G, twice.
chords = [(60, 64, 67), (57, 60, 64), (53, 57, 60), (55, 59, 62)] * 2
piano = [(0, bytes([0xC0, 0]))]
bass = [(0, bytes([0xC1, 33]))]
for bar, chord in enumerate(chords):
    for beat in (0, 2):
        piano += notes(0, [(bar * BAR + beat * Q, 2 * Q - 40, key) for key in chord], 80)
    root = chord[0] - 24
    bass += notes(1, [(bar * BAR + beat * Q, Q - 30, root + (7 if beat == 2 else 0)) for beat in range(4)], 100)

melody_line = [72, 74, 76, 79, 76, 74, 72, 69, 72, 72, 74, 76, 74, 72, 71, 74,
               76, 79, 81, 79, 76, 74, 76, 72, 69, 72, 74, 76, 74, 71, 72, 72]
flute = [(0, bytes([0xC2, 73]))]
flute += notes(2, [(i * Q, Q - 20 if i % 4 != 3 else 2 * Q - 20, key) for i, key in enumerate(melody_line)
                   if i % 8 != 7], 90)

drums = []
for bar in range(8):
    for eighth in range(8):
        t = bar * BAR + eighth * Q // 2
        drums += notes(9, [(t, 60, 42)], 70)                       # closed hi-hat
        if eighth in (0, 3, 4):
            drums += notes(9, [(t, 60, 36)], 110)                  # bass drum
        if eighth in (2, 6):
            drums += notes(9, [(t, 60, 38)], 100)                  # snare
    if bar in (3, 7):
        drums += notes(9, [(bar * BAR + 3 * Q + Q // 2, 60, 49)], 100)  # crash before the next phrase

tracks = [track(conductor, 'Demo Song'), track(piano, 'Piano'), track(bass, 'Bass'), track(flute, 'Flute'),
          track(drums, 'Drums')]
song = smf(1, Q, tracks)
Path(__file__).resolve().parent.parent.joinpath('data', 'demo.mid').write_bytes(song)
