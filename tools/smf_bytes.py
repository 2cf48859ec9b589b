"""Byte builders for Standard MIDI Files, shared by the scripts that write the demo song and
the fuzz seeds."""
import struct

def varlen(n: int) -> bytes:
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))

def meta(kind: int, data: bytes) -> bytes:
    """A meta event without its delta time."""
    return bytes([0xFF, kind]) + varlen(len(data)) + data

def chunk(body: bytes) -> bytes:
    return b'MTrk' + struct.pack('>I', len(body)) + body

def smf(fmt: int, division: int, tracks) -> bytes:
    return b'MThd' + struct.pack('>IHHH', 6, fmt, len(tracks), division) + b''.join(tracks)
