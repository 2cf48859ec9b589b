#include "ChartCheck.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_set>

#include "chart/BeatGrid.h"
#include "chart/ChartInfo.h"
#include "chart/Genres.h"
#include "StarRating.h"

namespace {

constexpr int kPlayerRow = 16;
constexpr std::size_t kMaxChordNotes = 3;

// Track, start and key of a note in one number, to find a player note's source note.
uint64_t SourceKey(int track, int32_t time, uint8_t key) {
    return uint64_t(track & 31) << 40 | uint64_t(static_cast<uint32_t>(time)) << 8 | key;
}

std::string TickText(const CChart& chart, int64_t tick) {
    const std::string readout = BeatReadout(chart.tempoMap, tick);
    return readout.substr(0, readout.find(' ')) + " (tick " + std::to_string(tick) + ")";
}

// A player note that starts after a held player note of its lane started and before it ends
// cannot be played: the key is still down.
void FindNotesInsideHeldNotes(const CChart& chart, const std::vector<CNote>& player,
                              std::vector<ChartFinding>& findings) {
    std::array<const CNote*, 8> heldInLane{};
    for (const CNote& note : player) {
        const CNote*& held = heldInLane[note.lane & 7];
        if (held && note.time > held->time && note.time < int64_t{held->time} + held->length)
            findings.push_back({note.track, note.time, note.lane,
                                "note inside a held note: the held note of track " + std::to_string(held->track) +
                                    " at " + TickText(chart, held->time) + " lasts to tick " +
                                    std::to_string(int64_t{held->time} + held->length)});
        if (note.longNote && (!held || int64_t{note.time} + note.length > int64_t{held->time} + held->length))
            held = &note;
    }
}

// Seven lanes, two hands: more than three player notes at one tick cannot be hit together.
void FindWideChords(const std::vector<CNote>& player, std::vector<ChartFinding>& findings) {
    for (std::size_t first = 0; first < player.size();) {
        std::size_t end = first;
        while (end < player.size() && player[end].time == player[first].time) ++end;
        if (end - first > kMaxChordNotes)
            findings.push_back({kPlayerRow, player[first].time, -1,
                                "a chord of " + std::to_string(end - first) +
                                    " player notes at one time (a player has two hands: at most 3)"});
        first = end;
    }
}

}  // namespace

std::vector<ChartFinding> CheckChart(const CChart& chart, int32_t gap) {
    std::vector<ChartFinding> findings;
    const std::span<const CNote> notes = chart.PlayerNotes();
    std::vector<CNote> player(notes.begin(), notes.end());
    if (player.empty()) findings.push_back({-1, -1, -1, "the player has no notes to hit"});

    std::stable_sort(player.begin(), player.end(),
                     [](const CNote& a, const CNote& b) { return a.time < b.time; });
    std::array<const CNote*, 8> lastInLane{};
    for (const CNote& note : player) {
        const CNote*& last = lastInLane[note.lane & 7];
        if (last && note.time - int64_t{last->time} < gap)
            findings.push_back({note.track, note.time, note.lane,
                                "player notes " + std::to_string(note.time - last->time) +
                                    " ticks apart in one lane (closer than " + std::to_string(gap) + ")"});
        last = &note;
    }
    FindNotesInsideHeldNotes(chart, player, findings);
    FindWideChords(player, findings);

    std::unordered_set<uint64_t> hiddenNotes;
    for (int t = 0; t < kTrackCount; ++t)
        for (const CNote& source : chart.tracks[static_cast<std::size_t>(t)].Notes())
            if (source.hidden) hiddenNotes.insert(SourceKey(t, source.time, source.key));
    for (const CNote& note : player) {
        if (note.track < kTrackCount && hiddenNotes.count(SourceKey(note.track, note.time, note.key)))
            findings.push_back({note.track, note.time, note.lane, "a player note is hidden by another note"});
    }
    for (int t = 0; t < kTrackCount; ++t) {
        const uint32_t count = chart.tracks[static_cast<std::size_t>(t)].Count();
        if (count > kMaxBlockNotes)
            findings.push_back(
                {t, -1, -1, std::to_string(count) + " notes, more than a chart file holds (65535)"});
    }
    if (player.size() > kMaxBlockNotes)
        findings.push_back({kPlayerRow, -1, -1, "more player notes than a chart file holds (65535)"});

    const CSongInfo& info = chart.songInfo;
    for (const auto& [name, text] :
         {std::pair{"title", &info.title}, std::pair{"composer", &info.composer},
          std::pair{"author", &info.author}, std::pair{"extended genre", &info.extGenre}}) {
        if (text->size() > kMaxStoredStringBytes)
            findings.push_back({-1, -1, -1,
                                std::string("the ") + name + " is " + std::to_string(text->size()) +
                                    " bytes; a chart file keeps 127"});
    }
    if (info.genre < 0 || info.genre >= kGenreCount)
        findings.push_back({-1, -1, -1, "genre " + std::to_string(info.genre) + " is not one of 0 to 9"});
    if (info.level < 0 || info.level >= kLevelCount) {
        findings.push_back(
            {-1, -1, -1, "level " + std::to_string(info.level + 1) + " is not one of 1 to 10"});
    } else if (const double stars = RateChart(chart).stars; stars > 0) {
        // A level far from what the notes rate misleads players choosing a chart.
        const int suggested = SuggestedLevel(stars);
        if (std::abs(suggested - (info.level + 1)) >= 3) {
            char rating[64];
            std::snprintf(rating, sizeof rating, "%.2f stars", stars);
            findings.push_back({-1, -1, -1,
                                "level " + std::to_string(info.level + 1) + " is far from the " + rating +
                                    " the player's notes rate: level " + std::to_string(suggested) + " suggested"});
        }
    }

    if (chart.songLengthMs > 0) {
        const int64_t lastTick = chart.tempoMap.ChartTime().TickAtMs(chart.songLengthMs);
        for (int t = 0; t < kTrackCount; ++t) {
            for (const CNote& note : chart.tracks[static_cast<std::size_t>(t)].Notes()) {
                if (note.time > lastTick) {
                    findings.push_back({t, note.time, note.lane, "a note starts after the song ends"});
                    break;  // one a track is enough to point at it
                }
            }
        }
    }
    return findings;
}

std::string FindingLine(const CChart& chart, const ChartFinding& f) {
    std::string line;
    if (f.track >= 0) line = f.track == kPlayerRow ? "player's notes" : "track " + std::to_string(f.track);
    if (f.tick >= 0) line += (line.empty() ? "" : ", ") + TickText(chart, f.tick);
    if (f.lane >= 0) line += (line.empty() ? "" : ", ") + std::string("lane ") + std::to_string(f.lane);
    return line.empty() ? f.text : line + ": " + f.text;
}
