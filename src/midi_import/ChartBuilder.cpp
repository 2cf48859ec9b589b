#include "ChartBuilder.h"

#include <algorithm>
#include <limits>

#include "TickTime.h"
#include "chart/Lanes.h"
#include "chart/TimeBase.h"
#include "io/Clamp.h"

namespace {

constexpr int kLengthScale = 740;
constexpr std::size_t kMaxEventsSearched = 1002;  // after each note-on
constexpr std::size_t kMaxSavableNotes = 65535;   // notes a track of a chart file holds

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

void CChartBuilder::MergeTempoInto(const std::vector<CNote>& tempo, std::vector<CNote>& events) {
    // In place, so a large track is never held twice; the merge is stable, so on equal times
    // the tempo track's events, which come first, stay first.
    events.insert(events.begin(), tempo.begin(), tempo.end());
    std::inplace_merge(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(tempo.size()),
                       events.end(), [](const CNote& a, const CNote& b) { return a.time < b.time; });
}

bool CChartBuilder::ExtractNotes(std::vector<CNote>& events, int n, CChart& chart) {
    bool anyNote = false;
    for (const CNote& e : events) {
        if (e.status >= 0xC0 && e.status <= 0xCF) chart.AssignInstrument(e, n);
        anyNote = anyNote || IsNoteOn(e);
    }
    if (!anyNote) return false;

    // The notes are written over the events they came from: note k lands at or before the
    // note-on it came from, and the search for its end only reads later events, so a large
    // track never needs a second buffer.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (!IsNoteOn(events[i])) continue;
        CNote note = events[i];
        bool found = false;
        for (std::size_t j = i + 1; j < events.size(); ++j) {
            if (EndsNote(events[j], note)) {
                note.length = events[j].time - note.time;
                note.lengthMs = events[j].timeMs - note.timeMs;
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
        note.time = Scale(note.time, kTicksPerQuarter, division);
        note.lane = LaneFromKey(note.key);
        note.track = static_cast<uint16_t>(n);
        note.data = nullptr;
        events[kept++] = std::move(note);
    }
    events.resize(kept);
    if (kept > 0)
        chart.songLengthMs = std::max(chart.songLengthMs, events.back().timeMs + events.back().lengthMs);
    // A track a chart file can hold is small: give back the room its other events took. A
    // larger one cannot be saved anyway and keeps its buffer, as shrinking it would need a
    // second one.
    if (kept <= kMaxSavableNotes) events.shrink_to_fit();
    chart.tracks[static_cast<std::size_t>(n)].AdoptNotes(std::move(events));
    return true;
}

void CChartBuilder::Build(CSmfFile& file, CChart& chart) {
    for (CNoteTrack& track : chart.tracks) track.instrument = 0;
    chart.songLengthMs = 0;
    division = file.TicksPerQuarter();
    filledTracks = 0;
    chart.usedTrackCount = 0;
    if (file.trackCount == 0) return;

    const std::vector<CNote> tempoTrack = *file.TrackEvents(0);
    for (int t = 0; t < file.trackCount && filledTracks < kTrackCount; ++t) {
        // Each track's events leave the file as it is built, so the song's events are never
        // all held twice.
        std::vector<CNote> events = std::move(*file.TrackEvents(t));
        file.TrackEvents(t)->clear();
        if (events.empty()) continue;
        if (t != 0) MergeTempoInto(tempoTrack, events);
        ConvertTicksToMs(events, division);
        if (ExtractNotes(events, filledTracks, chart)) ++filledTracks;
    }
    chart.usedTrackCount = filledTracks;
}
