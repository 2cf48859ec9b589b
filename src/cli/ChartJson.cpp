#include "ChartJson.h"

namespace {

nlohmann::json NoteToJson(const CNote& note) {
    return {
        {"time", note.time}, {"length", note.length},     {"status", note.status},
        {"key", note.key},   {"velocity", note.velocity}, {"selected", note.selected ? 1 : 0},
        {"lane", note.lane}, {"track", note.track},       {"longNote", note.longNote ? 1 : 0},
    };
}

nlohmann::json TrackToJson(const CNoteTrack& track) {
    nlohmann::json notes = nlohmann::json::array();
    for (const CNote& note : track.Notes()) notes.push_back(NoteToJson(note));
    return {{"instrument", track.instrument}, {"notes", std::move(notes)}};
}

}  // namespace

nlohmann::json ChartToJson(const CChart& chart, std::uintmax_t midiBytes) {
    const CSongInfo& info = chart.songInfo;
    nlohmann::json tracks = nlohmann::json::array();
    for (const CNoteTrack& track : chart.tracks) tracks.push_back(TrackToJson(track));
    nlohmann::json out;
    out["title"] = info.title;
    out["composer"] = info.composer;
    out["extGenre"] = info.extGenre;
    out["author"] = info.author;
    out["genre"] = info.genre;
    out["level"] = info.level;
    out["currentTrack"] = info.currentTrack;
    out["songLengthMs"] = chart.songLengthMs;
    out["usedTrackCount"] = chart.usedTrackCount;
    out["tracks"] = std::move(tracks);
    out["player"] = TrackToJson(chart.player);
    out["midiBytes"] = midiBytes;
    return out;
}

std::string JsonText(const nlohmann::json& value) {
    return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}
