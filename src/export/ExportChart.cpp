#include "ExportChart.h"

#include <algorithm>

#include "chart/Genres.h"

ExportChart ExportChartOf(const CChart& chart) {
    ExportChart e;
    const CSongInfo& info = chart.songInfo;
    e.title = info.title;
    e.artist = info.composer;
    e.creator = info.author;
    e.genre = std::string(GenreName(info.genre));
    e.level = std::clamp<int>(info.level + 1, 1, 10);
    e.notes = TimedPlayerNotes(chart);
    e.timing = TimingPoints(chart.tempoMap);
    int64_t end = 0;
    for (const TimedNote& n : e.notes) end = std::max(end, n.endTick.value_or(n.tick));
    e.measures = Measures(chart.tempoMap, end);
    return e;
}
