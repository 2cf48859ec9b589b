#include "TimedNotes.h"

#include <algorithm>

#include "TimeBase.h"

std::vector<TimedNote> TimedPlayerNotes(const CChart& chart, int64_t fromTick) {
    const TimeBase& time = chart.tempoMap.ChartTime();
    std::vector<TimedNote> notes;
    const std::span<const CNote> player = chart.PlayerNotes();
    for (std::size_t i = 0; i < player.size(); ++i) {
        const CNote& note = player[i];
        if (note.time < fromTick) continue;
        TimedNote n;
        n.playerIndex = i;
        n.tick = note.time;
        n.timeMs = time.MsAt(note.time);
        n.lane = note.lane;
        if (note.longNote) {
            n.endTick = int64_t{note.time} + std::max(note.length, 0);
            n.endMs = time.MsAt(*n.endTick);
        }
        notes.push_back(n);
    }
    return notes;
}
