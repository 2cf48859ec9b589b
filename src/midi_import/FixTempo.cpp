#include <vector>

#include "RepairChecks.h"
#include "io/Clamp.h"

namespace {

// No tempo event may follow the previous one by less than a quarter note. An event too close
// either gives up its place (when even the next event's delta added would not reach a
// quarter note, the next event absorbs it) or borrows the difference from the next event.
// Walks the events once, keeping the event under examination aside.
bool SpreadTempoEvents(std::vector<LibEvent>& events, uint32_t quarter) {
    bool changed = false;
    if (events.size() == 2) {
        if (events[1].delta < quarter) {
            events[1].delta = quarter;
            changed = true;
        }
        return changed;
    }
    if (events.size() < 3) return false;

    std::vector<LibEvent> out = {events[0]};
    LibEvent current = events[1];
    for (std::size_t next = 2;; ++next) {
        if (next == events.size()) {
            if (current.delta < quarter) {
                current.delta = quarter;
                changed = true;
            }
            out.push_back(current);
            break;
        }
        LibEvent following = events[next];
        if (current.delta < quarter) {
            changed = true;
            if (uint64_t{current.delta} + following.delta < quarter) {
                following.delta += current.delta;
                current = following;
                continue;
            }
            const uint32_t borrowed = quarter - current.delta;
            current.delta = quarter;
            following.delta -= borrowed;
        }
        out.push_back(current);
        current = following;
    }
    events = std::move(out);
    return changed;
}

// Removes every tempo event whose value repeats the one before it (a first value of 0
// counts as a repeat), keeping the time of the events after it.
bool RemoveRepeatedTempos(std::vector<LibEvent>& events) {
    std::vector<LibEvent> out;
    out.reserve(events.size());
    uint32_t previous = 0;
    uint64_t carried = 0;
    for (LibEvent event : events) {
        const uint32_t tempo = LibEventValue(event);
        if (tempo == previous) {
            carried += event.delta;
            continue;
        }
        event.delta = ClampToU32(uint64_t{event.delta} + carried);
        carried = 0;
        previous = tempo;
        out.push_back(event);
    }
    const bool changed = out.size() != events.size();
    events = std::move(out);
    return changed;
}

}  // namespace

bool FixTempo(CMidiSong& song) {
    if (!song.IsLoaded() || song.Format() == 0 || song.TrackCount() < 1) return song.unchanged;
    CLibTrack& track = song.Track(0);
    std::vector<LibEvent> events;
    for (uint32_t i = track.cursor; i < track.Count(); ++i) events.push_back(track.Event(i));

    const uint32_t quarter = static_cast<uint32_t>(song.Resolution());
    bool changed = SpreadTempoEvents(events, quarter);
    changed = RemoveRepeatedTempos(events) || changed;
    song.unchanged = !changed;
    if (!changed) return true;

    track.DeleteWhereKeepingTime([](const LibEvent&) { return true; });
    for (const LibEvent& event : events) track.Insert(event);
    return false;
}
