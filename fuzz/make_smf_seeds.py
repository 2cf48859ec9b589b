#!/usr/bin/env python3
"""Writes the seed inputs of the MIDI file fuzz targets (smf_lib_fuzz, smf_file_fuzz): small
Standard MIDI Files of each format, with running status, meta events, system exclusive, a RIFF
wrapping and an SMPTE division."""
import struct
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / 'tools'))
from smf_bytes import chunk, varlen  # noqa: E402
from smf_bytes import meta as meta_event  # noqa: E402
from smf_bytes import smf as smf_file  # noqa: E402

def meta(delta: int, kind: int, data: bytes) -> bytes:
    return varlen(delta) + meta_event(kind, data)

def track(*events: bytes) -> bytes:
    return chunk(b''.join(events))

def smf(fmt: int, division: int, *tracks: bytes) -> bytes:
    return smf_file(fmt, division, tracks)

def rmid(data: bytes) -> bytes:
    body = b'RMID' + b'data' + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body

EOT = meta(0, 0x2F, b'')
conductor = track(meta(0, 0x03, b'Tempo'), meta(0, 0x58, bytes([4, 2, 24, 8])), meta(0, 0x59, bytes([0xFD, 0])),
                  meta(0, 0x51, bytes([0x07, 0xA1, 0x20])), meta(384, 0x51, bytes([0x06, 0x1A, 0x80])),
                  meta(0, 0x06, b'Chorus'), meta(384, 0x2F, b''))
piano = track(meta(0, 0x03, b'Piano'), bytes([0, 0xC0, 0]), bytes([0, 0xB0, 0, 1]), bytes([0, 0x90, 60, 100]),
              bytes([96, 64, 100]), meta(0, 0x05, b'la'), bytes([96, 0x80, 60, 0]), bytes([0, 64, 0]),
              varlen(0) + bytes([0xF0, 3, 0x7E, 0x7F, 0xF7]), bytes([0, 0xE0, 0, 0x40]), EOT)
drums = track(bytes([0, 0xC9, 0]), bytes([0, 0x99, 36, 120]), bytes([48, 36, 0]), bytes([48, 38, 100]),
              varlen(0) + bytes([0xF7, 2, 0xF3, 1]), bytes([48, 0x89, 38, 0]), EOT)

out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent / 'corpus')
seeds = {
    'format0.mid': smf(0, 96, track(meta(0, 0x51, bytes([0x07, 0xA1, 0x20])), bytes([0, 0x90, 60, 100]),
                                    bytes([96, 0x80, 60, 0]), bytes([0, 0x91, 62, 100]), bytes([96, 62, 0]), EOT)),
    'format1.mid': smf(1, 480, conductor, piano, drums),
    'format2.mid': smf(2, 120, piano, drums),
    'rmid.rmi': rmid(smf(1, 96, conductor, piano)),
    'smpte.mid': smf(1, 0xE728, conductor, piano),
}
for target in ('smf_lib_fuzz', 'smf_file_fuzz'):
    folder = out / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)
