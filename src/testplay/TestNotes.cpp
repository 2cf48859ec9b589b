#include "TestNotes.h"

#include <algorithm>

#include "chart/TimeBase.h"

std::vector<TestNote> NotesToPlay(const CChart& chart, int64_t fromTick) {
    const TimeBase& time = chart.tempoMap.ChartTime();
    std::vector<TestNote> notes;
    const std::span<const CNote> player = chart.PlayerNotes();
    for (std::size_t i = 0; i < player.size(); ++i) {
        const CNote& note = player[i];
        if (note.time < fromTick) continue;
        TestNote n;
        n.playerIndex = i;
        n.tick = note.time;
        n.timeMs = time.MsAt(note.time);
        n.lane = note.lane;
        if (note.longNote) n.endMs = time.MsAt(int64_t{note.time} + std::max(note.length, 0));
        notes.push_back(n);
    }
    return notes;
}
