#include "OverlapPass.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

#include "Lanes.h"

namespace {

constexpr std::size_t kLookAhead = 20;  // notes after each note that are compared with it
constexpr std::size_t kLaneNeighbours = 7;
constexpr int kCandidates = 6;

bool LaneFree(std::span<const CNote> notes, std::size_t i, uint16_t lane) {
    const std::size_t first = i >= kLaneNeighbours ? i - kLaneNeighbours : 0;
    const std::size_t last = std::min(notes.size() - 1, i + kLaneNeighbours);
    for (std::size_t j = first; j <= last; ++j) {
        if (notes[j].lane == lane && TooClose(notes[j].time, notes[i].time)) return false;
    }
    return true;
}

// Candidates start at the lane above (6 stays 6), then go round through 0; lane 6 is only
// ever the first candidate. The sixth candidate is taken when none is free.
uint16_t FreeLane(std::span<const CNote> notes, std::size_t i) {
    const uint16_t lane = notes[i].lane;
    uint16_t candidate = lane + 1 >= 7 ? 6 : static_cast<uint16_t>(lane + 1);
    for (int tried = 1;; ++tried) {
        if (tried == kCandidates || LaneFree(notes, i, candidate)) return candidate;
        candidate = candidate == 5 || candidate == 6 ? 0 : static_cast<uint16_t>(candidate + 1);
    }
}

void RunOverTrack(std::span<CNote> notes) {
    for (std::size_t i = 0; i < notes.size(); ++i) {
        if (notes[i].hidden) continue;
        for (std::size_t j = i + 1; j < notes.size() && j <= i + kLookAhead; ++j) {
            if (notes[j].lane != notes[i].lane) continue;
            const int64_t gap = int64_t{notes[j].time} - notes[i].time;
            if (gap == 0) {
                if (notes[i].key <= notes[j].key) {
                    notes[i].hidden = 1;
                    break;
                }
                notes[j].hidden = 1;
            } else if (gap > 0 && gap < kTooCloseTicks) {
                notes[i].lane = FreeLane(notes, i);
            }
        }
    }
}

void MarkHiddenInTrack(std::span<CNote> notes) {
    // Indices in order of start, lane and key, so each group of one start and lane ends with
    // the note that stays visible; a file's notes need not be in order.
    std::vector<std::size_t> order(notes.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const CNote& x = notes[a];
        const CNote& y = notes[b];
        if (x.time != y.time) return x.time < y.time;
        if (x.lane != y.lane) return x.lane < y.lane;
        return x.key < y.key;
    });
    for (std::size_t k = 0; k < order.size(); ++k) {
        CNote& note = notes[order[k]];
        const bool last = k + 1 == order.size() || notes[order[k + 1]].time != note.time ||
                          notes[order[k + 1]].lane != note.lane;
        note.hidden = last ? 0 : 1;
    }
}

}  // namespace

void MarkHiddenNotes(CChart& chart) {
    for (int t = 0; t < chart.usedTrackCount && t < kTrackCount; ++t)
        MarkHiddenInTrack(chart.tracks[static_cast<std::size_t>(t)].Notes());
}

void RunOverlapPass(CChart& chart) {
    for (int t = 0; t < chart.usedTrackCount && t < kTrackCount; ++t)
        RunOverTrack(chart.tracks[static_cast<std::size_t>(t)].Notes());
}
