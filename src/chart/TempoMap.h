#pragma once
// CTempoMap: the tempo changes and time signatures of the open chart's song as its file holds
// them (the song file's own ticks), and the chart's time base made from them (chart ticks).

#include <cstdint>
#include <vector>

#include "TimeBase.h"

class CLibTrack;

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

    // Tempo in force at song tick `tick`: that of the last entry at or before it, 120 beats a
    // minute before the first entry and without any (as TimeBase answers everywhere).
    uint32_t TempoAt(uint32_t tick) const;

    // Tempo in force at a chart position (chart ticks).
    uint32_t StartTempo(int32_t position) const;

    // The song's tempo changes in chart ticks: times, tempos and positions of the chart.
    const TimeBase& ChartTime() const { return chartTime; }

    const std::vector<Entry>& Entries() const { return entries; }
    const std::vector<Meter>& Meters() const { return meters; }
    bool Built() const { return built; }
    uint16_t SongResolution() const { return songResolution; }

  private:
    std::vector<Entry> entries;
    std::vector<Meter> meters;
    TimeBase chartTime;
    bool built = false;
    uint16_t songResolution = 0;
};
