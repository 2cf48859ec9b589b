#pragma once
// The chart information: the "inf" segment of a chart file.
//
// Layout (little-endian): title, composer, extGenre, author (each a length byte and the
// bytes), genre (1), currentTrack (1), songLengthMs (4, signed), level (1), 1023 reserved
// zero bytes, 16 track blocks, then the player block. A track block is instrument (4),
// note count (2), 16 reserved bytes and 13 bytes per note.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "Chart.h"
#include "io/BoundedReader.h"
#include "io/ByteWriter.h"
#include "io/Status.h"

inline constexpr std::size_t kInfoReservedBytes = 1023;
inline constexpr std::size_t kBlockHeaderBytes = 22;
inline constexpr std::size_t kNoteRecordBytes = 13;
inline constexpr uint32_t kMaxBlockNotes = 65535;
inline constexpr std::size_t kMaxStoredStringBytes = 127;

// `text` cut to at most 127 bytes, ending on a whole UTF-8 character, so that it fits the
// file's length byte.
std::string_view StorableString(std::string_view text);

// Writes the song information fields and the 16 track blocks. Every track must hold at most
// kMaxBlockNotes notes (CheckStorable tells); a longer track is written cut to that count.
void WriteChartInfo(const CChart& chart, ByteWriter& out);

// Writes one track block (instrument, count, reserved bytes, note records).
void WriteTrackBlock(const CNoteTrack& track, ByteWriter& out);

// Ok when every track, and the player track the save will write, fits a track block.
// `playerCount` is the number of notes the player block will hold.
Status CheckStorable(const CChart& chart, std::size_t playerCount);

// Reads the song information fields and the 16 track blocks into `chart`: resets the track
// table first and sets usedTrackCount to the number of non-empty blocks. On failure `chart`
// is left partly filled; callers read into a scratch chart.
Status ReadChartInfo(LittleEndianReader& in, CChart& chart);

// Appends the notes of one track block to `track` and sets its instrument.
Status ReadTrackBlock(LittleEndianReader& in, CNoteTrack& track, std::string_view blockName);

// The whole "inf" segment: ReadChartInfo, then the player block into a fresh player track.
Status ReadChartInfoSegment(std::span<const uint8_t> bytes, CChart& chart);
