#include "PlaySchedule.h"

#include <algorithm>

namespace {

void AddNotes(const CNoteTrack& track, int64_t startTick, std::vector<TimedMessage>& out) {
    if (track.muted) return;
    for (const CNote& note : track.Notes()) {
        if (note.time < startTick) continue;
        const auto channel = static_cast<uint8_t>(note.status & 0x0F);
        out.push_back(
            TimedMessage::Make(note.time, static_cast<uint8_t>(0x90 | channel), note.key, note.velocity));
        out.push_back(TimedMessage::Make(int64_t{note.time} + std::max(note.length, 0),
                                         static_cast<uint8_t>(0x80 | channel), note.key));
    }
}

// Order within one tick: tempo and state first, then note-offs, then everything else, so a
// note that ends where the next one of its key starts does not cut the new one short.
int Rank(const TimedMessage& m) {
    if (m.status == kTempoMessage) return 0;
    if ((m.status & 0xF0) == 0x80) return 2;
    if ((m.status & 0xF0) == 0x90) return 3;
    return 1;
}

}  // namespace

std::vector<TimedMessage> BuildPlaySchedule(const CChart& chart, const SongTimeline& song,
                                            int64_t startTick) {
    std::vector<TimedMessage> schedule = song.StateAt(startTick);
    for (const TimedMessage& m : song.Messages()) {
        if (m.tick >= startTick) schedule.push_back(m);
    }
    for (const CNoteTrack& track : chart.tracks) AddNotes(track, startTick, schedule);
    AddNotes(chart.player, startTick, schedule);
    std::stable_sort(schedule.begin(), schedule.end(), [](const TimedMessage& a, const TimedMessage& b) {
        return a.tick != b.tick ? a.tick < b.tick : Rank(a) < Rank(b);
    });
    return schedule;
}
