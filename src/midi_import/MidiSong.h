#pragma once
// CMidiSong: a song loaded through the MIDI library layer for repair, as library tracks.
// Track 0 is the tempo track, tracks 1 and up are channel tracks. The repair checks
// (ConvertToFormat1, DeleteEvents, FixPatches, FixLength, FixTempo) work on it.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "smf/LibSmf.h"
#include "smf/LibTrack.h"

class CMidiSong {
  public:
    // Reads the file into one library track per track chunk. Fails as CLibSmf::Open does
    // (OpenInput, FileTooLarge, NotMidi).
    Status Load(const std::filesystem::path& path);
    // The same for a file held in memory.
    Status LoadBytes(std::vector<uint8_t> bytes);

    // The song as a Standard MIDI File (empty channel tracks left out) with its resolution,
    // leaving the song loaded; empty when not loaded.
    std::vector<uint8_t> Serialize();

    // Gives back the room of deleted events (see CLibTrack::ShrinkToFit).
    void ShrinkToFit();

    // Drops the tracks; the song is no longer loaded.
    void Unload();

    // The values, or -1 when not loaded.
    int Format() const { return loaded ? format : -1; }
    int Resolution() const { return loaded ? resolution : -1; }
    int TrackCount() const { return loaded ? trackCount : -1; }

    // Channel (status low nibble) of track n's first event; 999 when there is no track n or
    // it is empty.
    int TrackChannel(int n) const;
    // Events of track n; 0 when not loaded or there is no track n.
    uint32_t TrackEventCount(int n) const;

    bool IsLoaded() const { return loaded; }
    // Track n (0 <= n < TrackCount()).
    CLibTrack& Track(int n) { return *tracks[static_cast<std::size_t>(n)]; }
    const CLibTrack& Track(int n) const { return *tracks[static_cast<std::size_t>(n)]; }
    // Replaces every track; used by the format conversion.
    void ReplaceTracks(std::vector<std::unique_ptr<CLibTrack>> newTracks, uint16_t newFormat);

    // Result of the last check: true when it changed nothing.
    bool unchanged = true;

  private:
    Status ReadOpenedFile();

    std::vector<std::unique_ptr<CLibTrack>> tracks;
    bool loaded = false;
    int trackCount = 0;
    uint16_t resolution = 0;  // ticks per quarter note, never 0 once loaded
    uint16_t format = 0;
    CLibSmf smf;
};

// True when track n holds no events from its cursor on.
bool TrackIsEmpty(const CLibTrack& track);
