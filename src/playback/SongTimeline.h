#pragma once
// SongTimeline: the chart's song as playback uses it: every message of the song file except
// its notes (programs, controllers, pitch bends, pressure, system exclusive, tempo changes), in
// time order, at chart ticks. The chart's own notes are played instead of the song's.

#include <cstdint>
#include <span>
#include <vector>

#include "TimedMessage.h"
#include "chart/TimeBase.h"
#include "io/Status.h"

class SongTimeline {
  public:
    // Reads a Standard MIDI File; NotMidi and the reader's other failures as CLibSmf gives them.
    static Status FromSongBytes(std::span<const uint8_t> bytes, SongTimeline& out);

    const std::vector<TimedMessage>& Messages() const { return messages; }

    // The song's tempo changes in chart ticks.
    const TimeBase& Time() const { return time; }
    uint32_t TempoAt(int64_t tick) const { return time.TempoAt(tick); }

    // What is in force at `tick` and must be sent again when playing starts there, channel by
    // channel, in the order ChannelState gives it, all stamped `tick`.
    std::vector<TimedMessage> StateAt(int64_t tick) const;

  private:
    std::vector<TimedMessage> messages;
    TimeBase time;
};
