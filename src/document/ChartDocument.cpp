#include "ChartDocument.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "chart/BeatGrid.h"
#include "chart/SongEnd.h"
#include "difficulty/StarRating.h"
#include "editor/PaletteFill.h"
#include "io/Clamp.h"
#include "io/FileBytes.h"

ChartDocument::ChartDocument(std::filesystem::path tempDir, ViewGeometry geometry, ViewSettings settings,
                             SoundEngine* engine)
    : tempDir(std::move(tempDir)), view(chart, geometry, settings), editor(view) {
    if (engine) {
        player = std::make_unique<PlayController>(chart, *engine);
        testRun = std::make_unique<TestPlayRun>(chart, *engine);
    }
    // Playback follows a view position set with notify.
    view.hooks.seek = [this](int32_t position) {
        if (player) player->Seek(position);
    };
    ConversionHooks hooks;
    hooks.stopPlayback = [this] {
        if (player) player->ChartReplaced();
        if (conversionHooks.stopPlayback) conversionHooks.stopPlayback();
    };
    hooks.clearTrackList = [this] {
        if (conversionHooks.clearTrackList) conversionHooks.clearTrackList();
    };
    hooks.showLoadedChart = [this](const CChart&) { Converted(); };
    session = std::make_unique<ConversionSession>(chart, this->tempDir, hooks);
}

void ChartDocument::Replaced(const std::filesystem::path& newPath, std::string title) {
    path = newPath;
    stamp = newPath.empty() ? std::nullopt : StampOf(newPath);
    fileTitle = std::move(title);
    if (player) player->ChartReplaced();
    editor.ChartReplaced();  // the old chart's steps must never reach the new one
    view.ResetForLoadedChart(fileTitle);
    if (chartReplaced) chartReplaced();
}

Status ChartDocument::OpenChart(const std::filesystem::path& chartPath, const LoadProgress& progress) {
    if (Status status = LoadChartFile(chart, chartPath, tempDir, progress); !status) return status;
    view.ClearBeforeLoading();
    Replaced(chartPath, PathText(chartPath.stem()));
    return {};
}

void ChartDocument::PrepareConversion(const std::filesystem::path& midiPath) {
    pendingTitle = PathText(midiPath.stem());
    session->Prepare(midiPath, pendingTitle);
}

void ChartDocument::Converted() {
    // From here on it is the MIDI file's chart, not yet saved to any file.
    Replaced({}, pendingTitle);
    // The view starts where the music does: the measure of the first note, not empty lanes.
    int64_t first = INT64_MAX;
    for (const CNoteTrack& track : chart.tracks)
        if (track.Count() > 0) first = std::min<int64_t>(first, track.At(0).time);
    if (first != INT64_MAX) view.SetPosition(ClampToI32(MeasureStartAt(chart.tempoMap, first)), true);
}

void ChartDocument::TakeShownSongInfo(const PaletteFields& shown) {
    StorePaletteFields(shown, chart.songInfo);
    editor.ChartReplaced();  // what is shown now is where the history starts
}

void ChartDocument::CommitSongFields(const SongFields& fields) {
    if (view.HasChart()) editor.SetSongFields(fields);
}

ChartDocument::SaveOutcome ChartDocument::SaveTo(const std::filesystem::path& target, const SongFields& fields,
                                                 int currentTrack, FileSystem& fs) {
    SaveOutcome outcome;
    CommitSongFields(fields);
    chart.songInfo.currentTrack = static_cast<int16_t>(currentTrack);
    view.SetCurrentTrack(currentTrack);  // a track out of range (a damaged file's) is kept as it is
    // A chart without player notes is saved with the current track's notes chosen; that choice
    // is an edit the author can undo like any other.
    const bool hadNone = chart.selection.Count() == 0;
    if (view.currentTrack == currentTrack) editor.SelectAllIfNoneSelected();
    if (hadNone && chart.selection.Count() > 0) {
        outcome.chosenNotes = chart.selection.Count();
        outcome.chosenTrack = view.currentTrack;
    }
    outcome.status = SaveChartFile(chart, target, tempDir, fs, view.CollisionWindow());
    if (!outcome.status) return outcome;
    path = target;
    stamp = StampOf(target);
    fileTitle = PathText(target.stem());
    editor.history.MarkClean();
    outcome.playerEmpty = chart.player.Count() == 0;
    return outcome;
}

bool ChartDocument::ChangedOnDisk() const {
    if (path.empty()) return false;
    const std::optional<FileStamp> onDisk = StampOf(path);
    return onDisk && onDisk != stamp;
}

bool ChartDocument::HasUnsavedChanges(const std::optional<SongFields>& typed) const {
    if (!view.HasChart()) return false;
    return path.empty() || !editor.history.IsClean() || (typed && *typed != SongFieldsOf(chart.songInfo));
}

bool ChartDocument::Undo() {
    if (!MayEdit()) return false;
    editor.Undo();
    return true;
}

bool ChartDocument::Redo() {
    if (!MayEdit()) return false;
    editor.Redo();
    return true;
}

void ChartDocument::ShowFinding(const ChartFinding& finding) {
    if (finding.track >= 0 && finding.track < kTrackCount) view.SetCurrentTrack(finding.track);
    // A little below the finding, so it shows near the bottom of the lanes.
    if (finding.tick >= 0) view.SetPosition(ClampToI32(std::max<int64_t>(finding.tick - 200, 0)), true);
    view.Invalidate();
}

Status ChartDocument::PlayPause() {
    if (!view.HasChart() || !player) return Status::Fail(ErrorCode::NothingToPlay);
    const bool starting = !player->Playing();
    const int32_t from = view.position;
    const Status status =
        player->PlayPause(from, ClampToI32(PlayEndTick(chart)), PathFromText(chart.songInfo.midiPath));
    if (status && starting) {
        playStartedAt = from;
        stopped = false;
    }
    return status;
}

Status ChartDocument::PlayFrom(int32_t position) {
    if (!view.HasChart() || !player) return Status::Fail(ErrorCode::NothingToPlay);
    if (player->Playing()) PlayPause();  // pauses
    view.SetPosition(std::max(position, 0), true);
    return PlayPause();
}

void ChartDocument::Stop() {
    if (!view.HasChart() || !player) return;
    player->Stop();
    // The first Stop goes back to where playing started, the next to the song's start.
    view.SetPosition(stopped ? 0 : playStartedAt, true);
    stopped = true;
    view.Invalidate();
}

PickResult ChartDocument::PickPlayerNotes(double stars, std::optional<int> track) {
    if (!view.HasChart() || !MayEdit()) return {};
    PickSettings settings;
    settings.stars = stars;
    settings.track = track;
    settings.gap = view.CollisionWindow();
    settings.longLength = view.settings.longLength;
    PickResult result = PickNotes(chart, settings);
    std::vector<NoteEditor::Choice> choices;
    for (const PickedNote& p : result.notes) choices.push_back({p.track, p.index, p.held});
    editor.ReplacePlayerNotes(choices);
    // The rating as the chart now holds the notes (the player list's order within a chord).
    result.stars = RateChart(chart).stars;
    result.withinTolerance = std::abs(result.stars - stars) <= 0.05 * stars;
    return result;
}

Status ChartDocument::Export(const ExportOptions& options, ExportResult& result,
                             const std::function<void(double, const std::string&)>& progress) {
    if (!view.HasChart()) return Status::Fail(ErrorCode::NoPlayerNotes);
    std::vector<uint8_t> bytes;
    SongTimeline song;
    Status read = ReadFileBytes(PathFromText(chart.songInfo.midiPath), bytes);
    if (read) read = SongTimeline::FromSongBytes(bytes, song);
    if (!read) return read;
    return ExportChartFiles(chart, song, options, result, progress);
}

Status ChartDocument::StartTestPlay(bool autoplay, double offsetMs) {
    if (!view.HasChart() || !testRun) return Status::Fail(ErrorCode::NothingToPlay);
    // The run loads the song itself: the player forgets its own and loads it again next time.
    player->ChartReplaced();
    const Status started =
        testRun->Start(view.position, PathFromText(chart.songInfo.midiPath), autoplay, offsetMs);
    view.Invalidate();
    return started;
}

bool ChartDocument::FollowTestPlay() {
    if (!TestPlaying()) return false;
    const bool ended = testRun->Frame();
    view.SetPosition(testRun->TickNow(), false);
    view.Invalidate();
    return ended;
}

void ChartDocument::EndTestPlay() {
    if (!testRun || !testRun->Running()) return;
    testRun->End();
    view.SetPosition(testRun->StartTick(), true);
    view.Invalidate();
}

int32_t ChartDocument::FollowPlayback(bool& ended) {
    ended = false;
    if (!player) return view.position;
    const int32_t position = player->Follow(ClampToI32(PlayEndTick(chart)), ended);
    // At the end the cursors follow the position too; during play they are the player's.
    view.SetPosition(position, ended);
    view.Invalidate();
    return position;
}
