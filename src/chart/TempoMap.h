#pragma once
// CTempoMap: the tempo changes of the open chart's song, for playback to find the tempo in
// force where it starts. Ticks are the song file's own ticks.

#include <cstdint>
#include <vector>

class CLibTrack;

inline constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 bpm

class CTempoMap {
  public:
    struct Entry {
        uint32_t tick = 0;
        uint32_t tempo = 0;  // microseconds per quarter note
    };
    // A time signature of the song from `tick` (song ticks) on.
    struct Meter {
        uint32_t tick = 0;
        uint8_t numerator = 4;
        uint8_t denominator = 4;  // the note value of a beat: 4 a quarter, 8 an eighth
    };

    // Replaces the map with one entry per event of the song's tempo track (absolute tick and
    // the event's 24-bit value), keeps the track's time signatures, and records the song's
    // resolution (ticks per quarter note).
    void BuildTempoMap(const CLibTrack& tempoTrack, uint16_t songResolution);
    void ReleaseTempoMap();

    // Tempo in force at `tick`: that of the last entry at or before it, or the first entry's
    // when the tick lies before every entry. The map must not be empty.
    uint32_t TempoAt(uint32_t tick) const;

    // Tempo at a chart position (768 ticks per quarter note): TempoAt of the position in song
    // ticks, or kDefaultTempo when the map is empty.
    uint32_t StartTempo(int32_t position) const;

    const std::vector<Entry>& Entries() const { return entries; }
    const std::vector<Meter>& Meters() const { return meters; }
    bool Built() const { return built; }
    uint16_t SongResolution() const { return songResolution; }

  private:
    std::vector<Entry> entries;
    std::vector<Meter> meters;
    bool built = false;
    uint16_t songResolution = 0;
};
