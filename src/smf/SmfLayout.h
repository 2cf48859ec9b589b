#pragma once
// The outer layout of a Standard MIDI File, shared by both readers: the header chunk, the
// track chunks, the RIFF "RMID" wrapping, and what the division means in ticks per quarter.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "io/Status.h"

struct SmfHeader {
    uint32_t chunkId = 0;       // "MThd" for a Standard MIDI File
    uint32_t headerLength = 0;  // 6 in every file seen; the first chunk starts after it
    uint16_t format = 0;
    uint16_t trackCount = 0;  // as the header claims it
    uint16_t division = 0;    // raw: ticks per quarter, or SMPTE frames and ticks per frame
};

struct SmfTrackChunk {
    uint32_t declaredLength = 0;    // the chunk's length field
    std::span<const uint8_t> body;  // the chunk's bytes, cut short where the file ends first
};

// The Standard MIDI File inside `bytes`: the bytes themselves, or the "data" chunk of a RIFF
// "RMID" file.
std::span<const uint8_t> UnwrapRmid(std::span<const uint8_t> bytes);

// Reads the header (whose length field is honoured: the first chunk starts at 8 + length) and
// the "MTrk" chunks, up to the header's track count; other chunks are skipped. A chunk that
// runs past the end of the file is cut where the file ends.
//
// This is the one rule of what a Standard MIDI File is, for every reader of the program:
// NotMidi when the file does not start with an "MThd" chunk of at least 6 bytes, or when no
// track chunk is found (a header claiming no tracks, a header length running past the file,
// chunks that are not tracks).
Status ReadSmfLayout(std::span<const uint8_t> bytes, SmfHeader& header, std::vector<SmfTrackChunk>& tracks);

// The track chunks (0 = the first) whose data ends before their declared length: the file
// was cut short, as a broken download is. They are read up to where the file ends, so this is
// only worth a warning; empty for a file that is not a MIDI file.
std::vector<int> TracksEndingEarly(std::span<const uint8_t> bytes);

// Reads a MIDI file from disk, refusing files larger than any real song before reading them.
Status ReadSmfFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& out);

// Ticks per quarter note for a raw division, never 0:
// - top bit clear: the value itself; 0 is read as 96, the resolution of the standard's own
//   examples;
// - top bit set (SMPTE time code: minus frames per second in the high byte, ticks per frame in
//   the low byte): the ticks of half a second, which is one quarter note at the default tempo
//   of 120 beats per minute, so times come out right as long as the song keeps that tempo
//   (29 frames stands for 29.97); at least 1.
uint16_t TicksPerQuarter(uint16_t division);

inline constexpr uint16_t kDefaultTicksPerQuarter = 96;
// The largest MIDI file the program reads: real songs stay well under 1 MiB, and a file
// this large already costs several hundred MiB once read into events.
inline constexpr uint64_t kMaxSmfFileBytes = 64ull << 20;
inline constexpr uint32_t kChunkMThd = 0x4D546864;
inline constexpr uint32_t kChunkMTrk = 0x4D54726B;
