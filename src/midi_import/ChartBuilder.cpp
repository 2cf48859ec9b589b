#include "ChartBuilder.h"

#include <algorithm>
#include <limits>

#include "TickTime.h"
#include "chart/Lanes.h"
#include "io/Clamp.h"

namespace {

constexpr int kChartTicksPerQuarter = 768;
constexpr int kLengthScale = 740;
constexpr std::size_t kMaxEventsSearched = 1002;  // after each note-on

bool IsNoteOn(const CNote& e) {
    return e.status >= 0x90 && e.status <= 0x9F && e.velocity != 0;
}

bool EndsNote(const CNote& candidate, const CNote& noteOn) {
    return candidate.key == noteOn.key && (candidate.status & 0x0F) == (noteOn.status & 0x0F) &&
           (candidate.velocity == 0 || (candidate.status >= 0x80 && candidate.status <= 0x8F));
}

// file ticks × scale / division in 64 bits, so long songs do not overflow, kept in range.
int32_t Scale(int64_t ticks, int scale, int division) {
    return ClampToI32(ticks * scale / division);
}

}  // namespace

std::vector<CNote> CChartBuilder::Merge(const std::vector<const std::vector<CNote>*>& lists) {
    std::size_t total = 0;
    for (const auto* list : lists) total += list->size();
    std::vector<CNote> merged;
    merged.reserve(total);
    std::vector<std::size_t> next(lists.size(), 0);
    while (merged.size() < total) {
        std::size_t best = lists.size();
        for (std::size_t l = 0; l < lists.size(); ++l) {
            if (next[l] == lists[l]->size()) continue;
            if (best == lists.size() || (*lists[l])[next[l]].time < (*lists[best])[next[best]].time) best = l;
        }
        merged.push_back((*lists[best])[next[best]++]);
    }
    return merged;
}

bool CChartBuilder::ExtractNotes(const std::vector<CNote>& events, int n, CChart& chart) {
    uint32_t noteOns = 0;
    for (const CNote& e : events) {
        if (e.status >= 0xC0 && e.status <= 0xCF) chart.AssignInstrument(e, n);
        if (IsNoteOn(e)) ++noteOns;
    }
    if (noteOns == 0) return false;

    CNoteTrack& track = chart.tracks[static_cast<std::size_t>(n)];
    track.ReserveStorage(track.Count() + noteOns);
    const CNote* last = nullptr;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (!IsNoteOn(events[i])) continue;
        CNote note = events[i];
        bool found = false;
        for (std::size_t j = i + 1; j < events.size(); ++j) {
            if (EndsNote(events[j], events[i])) {
                note.length = events[j].time - events[i].time;
                note.lengthMs = events[j].timeMs - events[i].timeMs;
                found = true;
                break;
            }
            if (j - i >= kMaxEventsSearched) {
                note.length = 0;
                note.lengthMs = 0;
                found = true;
                break;
            }
        }
        if (!found) continue;
        note.length = Scale(note.length, kLengthScale, division);
        note.time = Scale(note.time, kChartTicksPerQuarter, division);
        note.lane = LaneFromKey(note.key);
        note.track = static_cast<uint16_t>(n);
        note.data = nullptr;
        track.Append(std::move(note));
        last = &track.At(track.Count() - 1);
    }
    if (last) chart.songLengthMs = std::max(chart.songLengthMs, last->timeMs + last->lengthMs);
    return true;
}

void CChartBuilder::Build(const CSmfFile& file, CChart& chart) {
    for (CNoteTrack& track : chart.tracks) track.instrument = 0;
    chart.songLengthMs = 0;
    division = file.TicksPerQuarter();
    filledTracks = 0;
    chart.usedTrackCount = 0;
    if (file.trackCount == 0) return;

    const CSharedArray<CNote> tempoTrack = file.TrackEvents(0);
    for (int t = 0; t < file.trackCount && filledTracks < kTrackCount; ++t) {
        const CSharedArray<CNote> events = file.TrackEvents(t);
        if (!events || events->empty()) continue;
        std::vector<CNote> merged = t == 0 ? *events : Merge({tempoTrack.get(), events.get()});
        ConvertTicksToMs(merged, division);
        if (ExtractNotes(merged, filledTracks, chart)) ++filledTracks;
    }
    chart.usedTrackCount = filledTracks;
}
