#include "DelaySoundChanges.h"

#include <algorithm>
#include <vector>

namespace {

bool ChangesSound(const LibEvent& e) {
    const uint8_t kind = e.status & 0xF0;
    return e.status >= 0x80 && e.status <= 0xEF && (kind == 0xB0 || kind == 0xC0);
}

bool IsNoteOn(const LibEvent& e) {
    return (e.status & 0xF0) == 0x90 && e.data2 != 0;
}

void DelayInTrack(CLibTrack& track) {
    struct Timed {
        uint64_t time;
        LibEvent event;
    };
    std::vector<Timed> events;
    events.reserve(track.Count());
    bool moved = false;
    uint64_t time = 0;
    uint16_t notesThisTick = 0;  // one bit a channel
    for (uint32_t i = 0; i < track.Count(); ++i) {
        const LibEvent e = track.Event(i);
        if (e.delta != 0) notesThisTick = 0;
        time += e.delta;
        const uint16_t channelBit = static_cast<uint16_t>(1u << (e.status & 0x0F));
        if (IsNoteOn(e)) notesThisTick |= channelBit;
        const bool late = ChangesSound(e) && (notesThisTick & channelBit) != 0;
        moved = moved || late;
        events.push_back({late ? time + 1 : time, e});
    }
    if (!moved) return;
    // Stable: a moved message goes after everything else of its tick and before what the song
    // already had at the next one.
    std::stable_sort(events.begin(), events.end(), [](const Timed& a, const Timed& b) { return a.time < b.time; });
    uint64_t previous = 0;
    for (uint32_t i = 0; i < events.size(); ++i) {
        LibEvent e = events[i].event;
        e.delta = static_cast<uint32_t>(events[i].time - previous);
        previous = events[i].time;
        track.SetEvent(i, e);
    }
}

}  // namespace

void DelaySoundChangesAfterNotes(CMidiSong& song) {
    if (!song.IsLoaded()) return;
    for (int t = 0; t < song.TrackCount(); ++t) DelayInTrack(song.Track(t));
}
