#include "ConversionSession.h"

#include <system_error>

#include "ChartBuilder.h"
#include "RepairChecks.h"
#include "RepairPipeline.h"
#include "SmfFile.h"
#include "chart/ChartInfo.h"
#include "chart/FileSystem.h"

ConversionSession::ConversionSession(CChart& chart, std::filesystem::path tempDir, ConversionHooks hooks)
    : chart(chart), tempDir(std::move(tempDir)), hooks(std::move(hooks)) {}

void ConversionSession::Prepare(const std::filesystem::path& midiPath, const std::string& title) {
    song.Unload();
    path = midiPath;
    log.Prepare(title);
    state = State::Prepared;
    okEnabled = true;
    cancelEnabled = true;
}

ConversionSession::Outcome ConversionSession::Ok() {
    switch (state) {
        case State::Prepared: return Repair();
        case State::Repaired: return Convert();
        case State::Converted: return Finish();
    }
    return Outcome::Stopped;
}

void ConversionSession::Cancel() {
    if (state == State::Repaired) song.Unload();
}

bool ConversionSession::SaveSong(const char* name) {
    // The old file goes first, so a failed write can never leave the previous song to be read.
    const std::filesystem::path target = tempDir / name;
    std::error_code ignored;
    std::filesystem::remove(target, ignored);
    if (!song.Save(target)) return false;
    path = target;
    return true;
}

ConversionSession::Outcome ConversionSession::StopWithWriteError(const char* name) {
    log.Append(std::string(" -Unable to write the temporary file \"") + name + "\".\r\n");
    okEnabled = false;
    cancelEnabled = true;
    return Outcome::Stopped;
}

ConversionSession::Outcome ConversionSession::Repair() {
    okEnabled = false;
    cancelEnabled = false;
    if (!RunRepairPipeline(song, path, log)) {
        cancelEnabled = true;
        return Outcome::Stopped;
    }
    state = State::Repaired;
    return Convert();
}

ConversionSession::Outcome ConversionSession::Convert() {
    okEnabled = false;
    cancelEnabled = false;
    if (!SaveSong(kPrefixName)) return StopWithWriteError(kPrefixName);

    log.BeginStage("Read MIDI Infomation...", "\r\nRead MIDI Infomation...\r\n");
    if (hooks.stopPlayback) hooks.stopPlayback();
    if (hooks.clearTrackList) hooks.clearTrackList();
    chart.player.Reset();
    chart.songInfo.genre = 0;
    chart.songInfo.level = 0;
    chart.songInfo.currentTrack = 0;
    chart.songInfo.midiPath.clear();
    CSmfFile file;
    file.Read(path);

    log.BeginStage("MIDI Info Manager Create...", "MIDI Info Manager Create...\r\n");
    chart.ResetTracks();

    log.BeginStage("Convert to RYX...", "Convert to RYX...\r\n");
    CChartBuilder builder;
    builder.Build(file, chart);
    chart.usedTrackCount = builder.filledTracks;
    for (int t = 0; t < chart.usedTrackCount; ++t) {
        const uint32_t notes = chart.tracks[static_cast<std::size_t>(t)].Count();
        if (notes > kMaxBlockNotes)
            log.Append(
                " -Track " + std::to_string(t + 1) + " has " + std::to_string(notes) +
                " notes; a chart file holds at most 65535 notes a track, so this chart cannot be saved.\r\n");
    }

    log.BeginStage("Insert RYX Infomations...", "Insert RYX Infomations...\r\n");
    chart.selection.RemoveAll();
    chart.selectionChanged = false;
    chart.songInfo.title.clear();
    chart.songInfo.composer = "Unknown";
    chart.songInfo.extGenre.clear();
    if (hooks.resetForLoadedChart) hooks.resetForLoadedChart(chart);

    log.BeginStage("Delete Junk Info...", "Delete Junk Info...\r\n");
    if (song.Load(path)) DeleteEvents(song, kDeleteNotes);

    log.BeginStage("Create Tempo Manager...", "Create Tempo Manager...\r\n");
    chart.tempoMap.ReleaseTempoMap();
    if (song.IsLoaded())
        chart.tempoMap.BuildTempoMap(song.Track(0), static_cast<uint16_t>(song.Resolution()));

    log.BeginStage("RYX Convert Finished", "\r\nRYX Convert Finished. Press 'OK'");
    state = State::Converted;
    okEnabled = true;
    cancelEnabled = false;
    return Outcome::Converted;
}

ConversionSession::Outcome ConversionSession::Finish() {
    if (!SaveSong(kAfterfixName)) return StopWithWriteError(kAfterfixName);
    chart.songInfo.midiPath = PathText(path);
    return Outcome::Finished;
}
