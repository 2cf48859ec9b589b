#pragma once
// CLibSmf: one Standard MIDI File opened for reading or writing, and the tracks attached to
// it. Tracks are owned by the caller; the file only refers to them while they are attached.
//
// Reading ('r') reads any format 0, 1 or 2 file, or a RIFF "RMID" file around one, into the
// attached tracks, track i of the list from the file's track i. Writing ('w') writes the
// format given to Open with the attached tracks in order; format 0 becomes format 1 once a
// second track is attached.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "LibTrack.h"
#include "SmfLayout.h"

class CLibSmf {
  public:
    CLibSmf() = default;
    CLibSmf(const CLibSmf&) = delete;
    CLibSmf& operator=(const CLibSmf&) = delete;
    ~CLibSmf() { Close(); }

    // Closes any open file first. 'r' reads the file's header and finds its tracks, failing
    // with OpenInput, FileTooLarge or NotMidi (see ReadSmfLayout); 'w' remembers the path and
    // `format` for Write. Any other mode fails with OpenInput.
    Status Open(const std::filesystem::path& path, char mode, uint16_t format = 1);
    // Opens bytes held in memory for reading.
    Status OpenBytes(std::vector<uint8_t> bytes);
    // Closes the file and detaches every track.
    void Close();

    // Attaches `track` at `index` (the rest move up), or at the end, detaching it from the
    // file it was attached to.
    void AddTrack(CLibTrack& track, std::size_t index = SIZE_MAX);
    // Detaches `track`; false when it was not attached.
    bool RemoveTrack(CLibTrack& track);
    std::size_t AttachedCount() const { return attached.size(); }

    // Reading only: reads every attached track from the start of its chunk. False when the
    // file is not open for reading or no track is attached.
    bool Read();
    // Writing only: writes the file with every attached track, replacing the file only once
    // the new one is complete. CreateOutput when the file is not open for writing or no track
    // is attached; the errors of SaveFileAtomically otherwise.
    Status Write();
    // The bytes Write() would write.
    std::vector<uint8_t> Serialize() const;

    // Ticks per quarter note, never 0 (SMPTE and zero divisions are read as SmfLayout.h says).
    uint16_t Resolution() const { return resolution; }
    // Resolution written with the file; 0 or values with the top bit set are taken as 96.
    void SetResolution(uint16_t ticksPerQuarter);

    uint16_t Format() const { return format; }
    // Number of track chunks the file holds (at most what its header claims).
    uint16_t FileTrackCount() const { return static_cast<uint16_t>(chunks.size()); }
    // The header's division as stored in the file.
    uint16_t RawDivision() const { return header.division; }
    bool IsOpen() const { return open; }
    char Mode() const { return mode; }

  private:
    Status ParseOpenedBytes();

    bool open = false;
    char mode = 0;
    uint16_t format = 1;
    uint16_t resolution = kDefaultTicksPerQuarter;
    std::filesystem::path path;
    std::vector<uint8_t> bytes;  // the whole file while open for reading
    SmfHeader header;
    std::vector<SmfTrackChunk> chunks;
    std::vector<CLibTrack*> attached;
};
