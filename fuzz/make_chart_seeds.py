#!/usr/bin/env python3
"""Writes the seed inputs of chart_load_fuzz: small chart files and a bare chart information
segment, in the chart file layout (little-endian)."""
import struct
import sys
from pathlib import Path

def text(s: bytes) -> bytes:
    return bytes([len(s)]) + s

def block(instrument: int, notes) -> bytes:
    out = struct.pack('<IH', instrument & 0xFFFFFFFF, len(notes)) + bytes(16)
    for time, length, status, key, vel, selected, lane, track, long_note in notes:
        out += struct.pack('<iiBBBBB', time, length, status, key, vel,
                           (0x80 if selected else 0) | (lane << 4) | track, 0x80 if long_note else 0)
    return out

def info(tracks, player, title=b'Seed') -> bytes:
    out = text(title) + text(b'Composer') + text(b'Ext') + text(b'Author')
    out += struct.pack('<BBiB', 3, 1, 4321, 4) + bytes(1023)
    for i in range(16):
        instrument, notes = tracks[i] if i < len(tracks) else (0, [])
        out += block(instrument, notes)
    return out + block(0, player)

def container(inf: bytes, mid: bytes) -> bytes:
    table = b''
    offsets = [64, 64 + len(inf), 64 + len(inf) + len(mid)]
    for name, offset in zip([b'inf', b'mid', b'EOF'], offsets):
        table += struct.pack('<I', offset) + name + bytes(16 - len(name))
    return struct.pack('<I', 3) + table + inf + mid

MIDI = b'MThd' + struct.pack('>IHHH', 6, 1, 1, 96) + b'MTrk' + struct.pack('>I', 4) + b'\x00\xff\x2f\x00'

notes0 = [(i * 96, 90, 0x90, 60 + i, 100, i % 2 == 0, i % 7, 0, i == 2) for i in range(6)]
notes1 = [(i * 48, 40, 0x99, 36, 90, False, 0, 1, False) for i in range(4)]
player = [n for n in notes0 if n[5]]

out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent / 'corpus' / 'chart_load_fuzz')
out.mkdir(parents=True, exist_ok=True)
(out / 'empty.ryx').write_bytes(container(info([], []), MIDI))
(out / 'notes.ryx').write_bytes(container(info([(0, notes0), (-2**31, notes1)], player), MIDI))
(out / 'bare-info.bin').write_bytes(info([(5, notes0)], player, title=b'x' * 130))
