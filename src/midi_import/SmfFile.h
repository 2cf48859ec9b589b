#pragma once
// CSmfFile: the program's own Standard MIDI File reader. It reads every event of every track
// into CNote records with absolute times in the file's ticks, for the chart builder.
//
// Each event record holds: `time` (absolute tick), `status` (0x80..0xEF, or kExtendedStatus
// for a system-exclusive or meta event), `key` and `velocity` (the first and second data
// bytes; 0 where the message has none), `data` (a CEventData for extended events). All other
// fields are 0.

#include <cstdint>
#include <filesystem>
#include <span>

#include "chart/Note.h"

inline constexpr uint8_t kExtendedStatus = 0xF4;

struct CSmfTrack {
    uint32_t chunkId = 0;      // as read ("MTrk")
    uint32_t chunkLength = 0;  // as declared in the file
    CSharedArray<CNote> events;
};

class CSmfFile {
  public:
    // Reads the file at `path`. A file that cannot be opened, or whose header is cut short,
    // gives no tracks.
    void Read(const std::filesystem::path& path);
    // Reads a file held in memory.
    void ReadBytes(std::span<const uint8_t> bytes);

    // A new reference to the event list of track n; null when there is no track n.
    CSharedArray<CNote> TrackEvents(int n) const;

    // Ticks per quarter note for `division`, never 0 (see TicksPerQuarter in smf/SmfLayout.h).
    uint16_t TicksPerQuarter() const;

    uint32_t chunkId = 0;
    uint32_t headerLength = 0;
    uint16_t format = 0;
    // Tracks read: the header's count, or fewer when the file holds fewer track chunks.
    uint16_t trackCount = 0;
    uint16_t division = 0;  // as stored
    CSharedArray<CSmfTrack> tracks;

  private:
    void ReadTrack(std::span<const uint8_t> body, CSmfTrack& track);

    // Running status of the file being read: 0 at the start of every file, carried from
    // track to track, and kept across system-exclusive and meta events.
    uint8_t runningStatus = 0;
};
