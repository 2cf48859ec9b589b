#include "PlayController.h"

#include <algorithm>

#include "io/FileBytes.h"

namespace {
constexpr int64_t kLitGap = 5000;  // chart ticks between a note's end and the next note of its track
}  // namespace

void PlayController::ChartReplaced() {
    engine.StopSegment();
    loaded = started = playing = false;
    ClearLit();
}

Status PlayController::PlayPause(int32_t position, int32_t songLength, const std::filesystem::path& songPath) {
    if (position >= songLength) return Status::Fail(ErrorCode::NothingToPlay);
    if (playing) {
        engine.PauseToggle();
        playing = false;
        ClearLit();
        return {};
    }
    if (!loaded) {
        std::vector<uint8_t> bytes;
        SongTimeline song;
        Status read = ReadFileBytes(songPath, bytes);
        if (read) read = SongTimeline::FromSongBytes(bytes, song);
        if (!read) return read;
        engine.LoadSong(std::move(song), chart);
        loaded = true;
    }
    // Chosen notes changed while paused: the engine plays the new player track afresh.
    if (engine.Started() && chart.selectionChanged) engine.StopSegment();
    if (!engine.Started() || position != lastPosition) engine.SetStartPoint(position);
    chart.UpdatePlayerTrack();
    Seek(position);
    engine.SetAudible(Sequencer::AudibleMask(chart));
    if (engine.Started())
        engine.PauseToggle();  // resumes
    else
        engine.StartSegment();
    started = true;
    playing = true;
    lastPosition = position;
    return {};
}

void PlayController::Stop() {
    if (!engine.Paused()) engine.PauseToggle();
    playing = false;
    // The view goes back to 0, so the next Play starts there rather than resuming.
    lastPosition = kMoved;
    ClearLit();
}

void PlayController::FilterChanged() {
    engine.SetAudible(Sequencer::AudibleMask(chart));
    ClearLit();  // what is heard now lights its rows again as its notes come
}

int32_t PlayController::Follow(int32_t songLength, bool& ended) {
    ended = false;
    if (!playing) return lastPosition == kMoved ? 0 : lastPosition;
    auto position = static_cast<int32_t>(std::min<int64_t>(engine.Position(), INT32_MAX));
    StepNotes(position);
    if (position > songLength) {
        engine.PauseToggle();
        playing = false;
        position = songLength;
        ended = true;
        ClearLit();
    }
    lastPosition = position;
    return position;
}

void PlayController::Seek(int32_t position) {
    for (std::size_t t = 0; t < chart.tracks.size(); ++t) cursors[t] = chart.tracks[t].FirstAtOrAfter(position);
    cursors[kTrackCount] = chart.player.FirstAtOrAfter(position);
}

void PlayController::StepNotes(int32_t position) {
    for (std::size_t t = 0; t < chart.tracks.size(); ++t) {
        if (chart.tracks[t].Count() > 0) StepTrack(chart.tracks[t], cursors[t], position);
    }
    StepPlayer(position);
}

void PlayController::StepTrack(const CNoteTrack& track, uint32_t& cursor, int32_t position) {
    // A muted track is not heard, so its row stays dark; its cursor still moves on.
    const bool lights = setLit && !track.muted;
    while (cursor < track.Count() && track.Notes()[cursor].time <= position) {
        const CNote played = track.Notes()[cursor++];
        if (cursor >= track.Count()) {
            if (lights) setLit(played.track, false);
            break;
        }
        const CNote& next = track.Notes()[cursor];
        const int64_t gap = int64_t{next.time} - played.time - played.length;
        if (lights) {
            if (gap < kLitGap)
                setLit(next.track, true);
            else
                setLit(played.track, false);
        }
    }
}

void PlayController::StepPlayer(int32_t position) {
    const CNoteTrack& player = chart.player;
    uint32_t& cursor = cursors[kTrackCount];
    while (cursor < player.Count() && player.Notes()[cursor].time <= position) {
        const CNote& played = player.Notes()[cursor++];
        if (player.muted || played.track >= kTrackCount) continue;
        int64_t& until = soundingUntil[played.track];
        until = std::max(until, int64_t{played.time} + played.length);
        if (setLit) setLit(played.track, true);
    }
    for (int row = 0; row < kTrackCount; ++row) {
        int64_t& until = soundingUntil[static_cast<std::size_t>(row)];
        if (until >= 0 && until < position) {
            until = -1;
            if (setLit) setLit(row, false);
        }
    }
}

void PlayController::ClearLit() {
    soundingUntil.fill(-1);
    if (!setLit) return;
    for (int row = 0; row < kTrackCount; ++row) setLit(row, false);
}
