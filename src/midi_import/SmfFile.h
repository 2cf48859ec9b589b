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
#include <vector>

#include "chart/Note.h"
#include "io/Status.h"

inline constexpr uint8_t kExtendedStatus = 0xF4;

struct CSmfTrack {
    uint32_t chunkId = 0;      // as read ("MTrk")
    uint32_t chunkLength = 0;  // as declared in the file
    CSharedArray<CNote> events;
};

class CSmfFile {
  public:
    // Reads the file at `path`. A file that cannot be read (OpenInput, FileTooLarge) or is
    // not a Standard MIDI File (NotMidi, the rule of ReadSmfLayout) gives no tracks.
    Status Read(const std::filesystem::path& path);
    // Reads a file held in memory.
    Status ReadBytes(std::span<const uint8_t> bytes);

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
    // Tracks (0 = the first) whose data ends before their declared length: the file was cut
    // short. They are read up to where it ends; the caller warns of them.
    std::vector<int> tracksEndingEarly;

  private:
    // Reads one track starting with `runningStatus` in force; returns the status in force at
    // its end, which the next track starts with. The event list keeps `room` free slots: the
    // tracks after the first keep room for the first track's events, so that the chart
    // builder merges the tempo track in place.
    static uint8_t ReadTrack(std::span<const uint8_t> body, uint8_t runningStatus, std::size_t room,
                             CSmfTrack& track);
};
