#include "PickNotes.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <map>
#include <set>

#include "StarRating.h"
#include "chart/BeatGrid.h"

namespace {

struct Candidate {
    PickedNote pick;
    int32_t tick = 0;
    int32_t end = 0;  // a held note's end
    int lane = 0;
    double priority = 0;
};

// How strong a beat `tick` falls on: 3 a measure's first beat, 2 a beat, 1 half way between
// two beats, 0 anywhere else.
int BeatStrength(const std::vector<GridLine>& beats, int64_t tick) {
    auto next = std::upper_bound(beats.begin(), beats.end(), tick,
                                 [](int64_t t, const GridLine& line) { return t < line.tick; });
    if (next == beats.begin()) return 0;
    const GridLine& at = *std::prev(next);
    if (at.tick == tick) return at.measure ? 3 : 2;
    if (next != beats.end() && (at.tick + next->tick) == 2 * tick) return 1;
    return 0;
}

// The notes already chosen, lane by lane, to keep every choice free of check findings.
class Chosen {
  public:
    Chosen(int32_t gap) : gap(gap) {}

    bool Fits(const Candidate& c) const {
        const auto& lane = starts[static_cast<std::size_t>(c.lane)];
        // Another note of the lane within the gap.
        auto near = lane.lower_bound(c.tick - gap + 1);
        if (near != lane.end() && *near < c.tick + gap) return false;
        // Inside a held note of the lane, or holding over one.
        for (const auto& [start, end] : held[static_cast<std::size_t>(c.lane)])
            if (c.tick > start && c.tick < end) return false;
        if (c.pick.held) {
            auto inside = lane.upper_bound(c.tick);
            if (inside != lane.end() && *inside < c.end) return false;
        }
        const auto chord = chords.find(c.tick);
        return chord == chords.end() || chord->second < 3;
    }

    void Add(const Candidate& c) {
        starts[static_cast<std::size_t>(c.lane)].insert(c.tick);
        if (c.pick.held) held[static_cast<std::size_t>(c.lane)].emplace_back(c.tick, c.end);
        ++chords[c.tick];
    }

  private:
    int32_t gap;
    std::array<std::multiset<int32_t>, 7> starts;
    std::array<std::vector<std::pair<int32_t, int32_t>>, 7> held;
    std::map<int32_t, int> chords;
};

}  // namespace

PickResult PickNotes(const CChart& chart, const PickSettings& settings) {
    const TimeBase& time = chart.tempoMap.ChartTime();
    int64_t last = 0;
    for (const CNoteTrack& track : chart.tracks)
        if (track.Count() > 0) last = std::max<int64_t>(last, track.At(track.Count() - 1).time);
    const std::vector<GridLine> beats = BeatLines(chart.tempoMap, 0, last + kTicksPerQuarter * 4);

    std::vector<Candidate> candidates;
    for (int t = 0; t < kTrackCount; ++t) {
        if (settings.track && *settings.track != t) continue;
        const auto notes = chart.tracks[static_cast<std::size_t>(t)].Notes();
        for (uint32_t i = 0; i < notes.size(); ++i) {
            const CNote& n = notes[i];
            if (n.hidden || n.lane > 6) continue;
            Candidate c;
            c.pick = {t, i, n.length >= settings.longLength};
            c.tick = n.time;
            c.end = n.time + std::max(n.length, 0);
            c.lane = n.lane;
            c.priority = 4.0 * BeatStrength(beats, n.time) + n.velocity / 127.0 +
                         0.5 * std::min(n.length / double(kTicksPerQuarter), 2.0) + 0.5 * n.key / 127.0;
            candidates.push_back(c);
        }
    }
    // The order a player expects notes to join: strongest first, then from the song's start.
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.priority != b.priority ? a.priority > b.priority : a.tick < b.tick;
    });
    // Every prefix of the accepted ones is free of findings too: fewer notes never make one.
    Chosen chosen(settings.gap);
    std::vector<Candidate> accepted;
    for (const Candidate& c : candidates) {
        if (!chosen.Fits(c)) continue;
        chosen.Add(c);
        accepted.push_back(c);
    }

    auto rate = [&](std::size_t count) {
        std::vector<ManiaNote> notes;
        notes.reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            const Candidate& c = accepted[k];
            const int64_t start = std::llround(time.MsAt(c.tick));
            const int64_t end = c.pick.held ? std::llround(time.MsAt(c.end)) : start;
            notes.push_back({start, std::max(end, start), c.lane});
        }
        return RateNotes(std::move(notes)).stars;
    };
    // More notes rate higher: the fewest that reach the target, or one fewer if that is nearer.
    std::size_t low = std::min<std::size_t>(2, accepted.size());
    std::size_t high = accepted.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (rate(middle) < settings.stars)
            low = middle + 1;
        else
            high = middle;
    }
    std::size_t count = low;
    double stars = rate(count);
    if (count > 2) {
        const double fewer = rate(count - 1);
        if (std::abs(fewer - settings.stars) < std::abs(stars - settings.stars)) {
            --count;
            stars = fewer;
        }
    }

    PickResult result;
    result.stars = stars;
    result.withinTolerance = std::abs(stars - settings.stars) <= 0.05 * settings.stars;
    std::vector<Candidate> picked(accepted.begin(), accepted.begin() + static_cast<std::ptrdiff_t>(count));
    std::sort(picked.begin(), picked.end(), [](const Candidate& a, const Candidate& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.lane < b.lane;
    });
    for (const Candidate& c : picked) result.notes.push_back(c.pick);
    return result;
}
