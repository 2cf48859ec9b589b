#pragma once
// What playing a chart from a start point sends, in time order: the song's state in force at
// the start point (programs, controllers, pitch bends), then the song's messages from there
// on, and the chart's own notes that start at or after it — of every track and of the player
// track that the play filter leaves audible (`muted` clear) — each a note-on at its time and a
// note-off `length` chart ticks later. Nothing goes past the song's end (PlayEndTick): a note
// that starts after it is left out and one that lasts beyond it ends there.

#include <cstdint>
#include <vector>

#include "SongTimeline.h"
#include "TimedMessage.h"
#include "chart/Chart.h"

inline constexpr int kSongTrack = -1;    // a message of the song
inline constexpr int kPlayerTrack = 16;  // a note of the player track
inline constexpr int kMetronomeTrack = 17;  // a click of the metronome

struct ScheduledMessage {
    TimedMessage message;
    int track = kSongTrack;  // the chart track 0..15 a note belongs to, or kPlayerTrack
    bool chosen = false;     // a track's note that is one of the player's notes
};

// With `leaveOutMuted` the notes of muted tracks are left out; without it every track's notes
// are there, tagged, for a player that applies the filter as it plays. With `clicks` the
// metronome's clicks are there too (kMetronomeTrack).
std::vector<ScheduledMessage> BuildPlaySchedule(const CChart& chart, const SongTimeline& song,
                                                int64_t startTick, bool leaveOutMuted = true, bool clicks = false);

// The metronome: a click on every beat of the song from `startTick` to `endTick` (its tempo
// and time signatures, through the beat grid), General MIDI percussion on channel 10: the high
// wood block on the first beat of a measure, the low one on the others.
std::vector<ScheduledMessage> MetronomeClicks(const CChart& chart, int64_t startTick, int64_t endTick);
inline constexpr uint8_t kAccentClick = 76;  // Hi Wood Block
inline constexpr uint8_t kBeatClick = 77;    // Low Wood Block
