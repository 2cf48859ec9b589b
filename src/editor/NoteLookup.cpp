#include "NoteLookup.h"

#include <algorithm>
#include <cstdlib>

#include "chart/Lanes.h"

namespace {
constexpr int64_t kNeighbours = 10;

int64_t Distance(int32_t a, int32_t b) {
    return std::llabs(int64_t{a} - b);
}
}  // namespace

std::optional<uint32_t> FindSourceNote(const CChart& chart, const CNote& entry, int32_t position) {
    if (entry.track >= kTrackCount || entry.time < position) return std::nullopt;
    const auto notes = chart.tracks[entry.track].Notes();
    auto first = std::lower_bound(notes.begin(), notes.end(), entry.time,
                                  [](const CNote& n, int32_t t) { return n.time < t; });
    for (auto it = first; it != notes.end() && it->time == entry.time; ++it) {
        if (!it->hidden && it->lane == entry.lane) return static_cast<uint32_t>(it - notes.begin());
    }
    return std::nullopt;
}

bool TrackNoteMoveAllowed(const CChart& chart, int track, uint32_t i, uint16_t lane, int32_t position,
                          int32_t window) {
    const auto notes = chart.tracks[static_cast<std::size_t>(track)].Notes();
    const CNote& note = notes[i];
    const int64_t first = std::max<int64_t>(0, int64_t{i} - kNeighbours);
    const int64_t last = std::min<int64_t>(static_cast<int64_t>(notes.size()) - 1, int64_t{i} + kNeighbours);
    for (int64_t j = first; j <= last; ++j) {
        const CNote& other = notes[static_cast<std::size_t>(j)];
        if (j != i && !other.hidden && other.lane == lane && TooClose(other.time, note.time)) return false;
    }
    if (!note.selected) return true;
    const CNoteList& selection = chart.selection;
    for (int k = selection.LowerBound(position); k < selection.Count(); ++k) {
        const CNote& entry = selection.GetAt(k);
        if (entry.time > int64_t{note.time} + window) break;
        if (entry.lane == lane && TooClose(entry.time, note.time)) return false;
    }
    return true;
}

bool ChartNoteMoveAllowed(const CChart& chart, int i, uint16_t lane, int32_t position, int32_t window) {
    const CNoteList& selection = chart.selection;
    const CNote& entry = selection.GetAt(i);
    for (int j = std::max(0, i - 10); j < std::min(selection.Count(), i + 10); ++j) {
        const CNote& other = selection.GetAt(j);
        if (j != i && other.lane == lane && Distance(other.time, entry.time) < window) return false;
    }
    if (entry.track >= kTrackCount) return true;
    for (const CNote& note : chart.tracks[entry.track].Notes()) {
        if (note.hidden || note.time < position) continue;
        if (note.time >= int64_t{entry.time} + window) break;
        if (note.lane == lane && Distance(note.time, entry.time) < window) return false;
    }
    return true;
}
