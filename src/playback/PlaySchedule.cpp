#include "PlaySchedule.h"

#include <algorithm>

#include "chart/BeatGrid.h"
#include "chart/SongEnd.h"

namespace {

void AddNotes(const CNoteTrack& track, int index, int64_t startTick, int64_t endTick, bool leaveOutMuted,
              std::vector<ScheduledMessage>& out) {
    if (leaveOutMuted && track.muted) return;
    for (const CNote& note : track.Notes()) {
        if (note.time < startTick || note.time > endTick) continue;
        const auto channel = static_cast<uint8_t>(note.status & 0x0F);
        const bool chosen = index < kTrackCount && note.selected;
        out.push_back(
            {TimedMessage::Make(note.time, static_cast<uint8_t>(0x90 | channel), note.key, note.velocity),
             index, chosen});
        // Every note ends by the song's end, however long a damaged file says it is; a note of
        // no length still sounds, briefly: its note-off comes a tick after its note-on.
        const int64_t off = std::min(int64_t{note.time} + note.length, endTick);
        const int64_t end = std::max(off, int64_t{note.time} + 1);
        out.push_back({TimedMessage::Make(end, static_cast<uint8_t>(0x80 | channel), note.key), index, chosen});
    }
}

// Order within one tick: tempo and state first, then note-offs, then note-ons, so a note that
// ends where the next one of its key starts does not cut the new one short.
int Rank(const TimedMessage& m) {
    if (m.status == kTempoMessage) return 0;
    if ((m.status & 0xF0) == 0x80) return 2;
    if ((m.status & 0xF0) == 0x90) return 3;
    return 1;
}

}  // namespace

std::vector<ScheduledMessage> MetronomeClicks(const CChart& chart, int64_t startTick, int64_t endTick) {
    constexpr uint8_t kPercussion = 0x09;       // channel 10
    constexpr int64_t kClickLength = 96;        // an eighth of a quarter note: a click, not a tone
    std::vector<ScheduledMessage> clicks;
    for (const GridLine& beat : BeatLines(chart.tempoMap, startTick, endTick)) {
        const uint8_t key = beat.measure ? kAccentClick : kBeatClick;
        const uint8_t velocity = beat.measure ? 120 : 90;
        clicks.push_back({TimedMessage::Make(beat.tick, 0x90 | kPercussion, key, velocity), kMetronomeTrack});
        clicks.push_back(
            {TimedMessage::Make(std::min(beat.tick + kClickLength, endTick), 0x80 | kPercussion, key), kMetronomeTrack});
    }
    return clicks;
}

std::vector<ScheduledMessage> BuildPlaySchedule(const CChart& chart, const SongTimeline& song,
                                                int64_t startTick, bool leaveOutMuted, bool clicks) {
    std::vector<ScheduledMessage> schedule;
    const int64_t endTick = PlayEndTick(chart);
    // The tempo in force first, then everything else in force at the start point.
    schedule.push_back({TimedMessage::Make(startTick, kTempoMessage)});
    schedule.back().message.tempo = song.TempoAt(startTick);
    for (TimedMessage& m : song.StateAt(startTick)) schedule.push_back({std::move(m)});
    for (const TimedMessage& m : song.Messages()) {
        if (m.tick >= startTick && m.tick <= endTick) schedule.push_back({m});
    }
    for (int t = 0; t < kTrackCount; ++t)
        AddNotes(chart.tracks[static_cast<std::size_t>(t)], t, startTick, endTick, leaveOutMuted, schedule);
    AddNotes(chart.player, kPlayerTrack, startTick, endTick, leaveOutMuted, schedule);
    if (clicks) {
        std::vector<ScheduledMessage> metronome = MetronomeClicks(chart, startTick, endTick);
        schedule.insert(schedule.end(), metronome.begin(), metronome.end());
    }
    std::stable_sort(schedule.begin(), schedule.end(),
                     [](const ScheduledMessage& a, const ScheduledMessage& b) {
                         return a.message.tick != b.message.tick ? a.message.tick < b.message.tick
                                                                 : Rank(a.message) < Rank(b.message);
                     });
    return schedule;
}
