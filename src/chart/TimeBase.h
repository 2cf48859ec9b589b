#pragma once
// TimeBase: the one place the program turns music time (ticks) into real time and back. A
// time base holds a song's tempo changes in its own ticks (chart ticks, 768 a quarter note,
// or a MIDI file's ticks at its resolution) and answers, the same way everywhere:
// - the tempo in force at a tick: that of the last change at or before it, and 120 beats a
//   minute (kDefaultTempo) before the first change and without any;
// - milliseconds at a tick, exactly (MsAt) or as a conversion stores them (RoundedMsAt);
// - the tick at a time in milliseconds (TickAtMs), the inverse of MsAt.
// Immutable once made; any thread may read it.

#include <cstdint>
#include <vector>

inline constexpr int kTicksPerQuarter = 768;       // chart ticks a quarter note
inline constexpr uint32_t kDefaultTempo = 500000;  // microseconds a quarter note: 120 beats a minute

class TimeBase {
  public:
    struct TempoChange {
        int64_t tick = 0;    // in the time base's own ticks
        uint32_t tempo = 0;  // microseconds a quarter note; 0 stops time, as a MIDI file may say
    };

    // Chart ticks at 120 beats a minute throughout.
    TimeBase() = default;
    // `changes` in tick order (changes at negative ticks count from 0); `ticksPerQuarter` below
    // 1 is read as 96, as MIDI files with no resolution are.
    TimeBase(std::vector<TempoChange> changes, int ticksPerQuarter);

    int TicksPerQuarter() const { return ticksPerQuarter; }
    uint32_t TempoAt(int64_t tick) const;

    // Milliseconds from tick 0 to `tick` (at or after 0), through every tempo change.
    double MsAt(int64_t tick) const;
    // The same as a conversion stores it: each stretch between tempo changes is rounded to
    // whole milliseconds (halves up) and the stretches are added up. Charts hold these values,
    // so this rule never changes.
    int64_t RoundedMsAt(int64_t tick) const;
    // The last tick at or after 0 whose MsAt is at most `ms`: -1 for a negative time; saturates
    // at INT64_MAX for times past any tick (or beyond a stretch where time stands still).
    int64_t TickAtMs(double ms) const;

  private:
    struct Segment {
        int64_t tick;       // where this tempo starts
        double ms;          // MsAt(tick)
        int64_t roundedMs;  // RoundedMsAt(tick)
        uint32_t tempo;
    };
    const Segment& SegmentAt(int64_t tick) const;
    // Milliseconds from the segment's start to `tick`, and from tick 0.
    double Stretch(const Segment& s, int64_t tick) const;
    double MsInto(const Segment& s, int64_t tick) const;

    int ticksPerQuarter = kTicksPerQuarter;
    std::vector<Segment> segments{{0, 0.0, 0, kDefaultTempo}};
};

// Chart ticks of a MIDI file's `ticks` at `resolution` ticks a quarter note (t × 768 ÷ d,
// rounded down); resolution below 1 is read as 96.
int64_t ChartTicksOf(int64_t ticks, int resolution);
