#include "ConversionPipeline.h"

#include <string>

#include "ChartBuilder.h"
#include "DelaySoundChanges.h"
#include "EventText.h"
#include "MidiSong.h"
#include "RepairChecks.h"
#include "SmfFile.h"
#include "chart/ChartInfo.h"
#include "chart/FinishLoadedChart.h"
#include "smf/SmfLayout.h"

namespace {

bool CheckFormat(CMidiSong& song, ConversionLog& log) {
    log.BeginStage("MIDI Format Check...", "\r\nMIDI Format Check...\r\n");
    if (song.Format() == 0) {
        log.Append(" -MIDI Format 0. Converted to Format 1.\r\n");
        ConvertToFormat1(song);
    } else if (song.Format() == 2) {
        log.Append(" -MIDI Format 2. Convert Canceled.");
        return false;
    } else {
        log.Append(" -MIDI Format 1.\r\n");
        // Every later check and the chart builder read track 0 as tempo events only.
        SeparateTempoTrack(song);
    }
    return true;
}

void DeleteJunk(CMidiSong& song, ConversionLog& log) {
    log.BeginStage("Delete Junk Messages...", "\r\nDelete Junk Messages...\r\n");
    const bool noSysEx = DeleteEvents(song, kDeleteSysEx);
    if (!noSysEx) log.Append(" -Delete SysEx Messages.\r\n");
    const bool noBank = DeleteEvents(song, kDeleteBankSelect);
    if (!noBank) log.Append(" -Delete Bank Messages..\r\n");
    if (noSysEx && noBank) log.Append(" -MIDI doesn't have Junk Message\r\n");
}

void CheckPatches(CMidiSong& song, ConversionLog& log) {
    log.BeginStage("Instrument Patch Error Check...", "\r\nInstrument Patch Error Check...\r\n");
    log.Append(FixPatches(song) ? " -MIDI doesn't have Patch Error.\r\n"
                                : " -Instrument Patch Corrected.\r\n");
}

void CheckLength(CMidiSong& song, ConversionLog& log) {
    log.BeginStage("Length Error Check...", "\r\nLength Error Check...\r\n");
    FixLength(song);
    log.Append(" -Music Length Error Corrected.\r\n");
}

void CheckTempo(CMidiSong& song, ConversionLog& log) {
    log.BeginStage("Tempo Error Check... ", "\r\nTempo Error Check...\r\n");
    log.Append(FixTempo(song) ? " -MIDI doesn't have Tempo Error.\r\n" : " -Tempo Error Corrected.\r\n");
}

// Reports the channel tracks; nothing is merged or removed, as the chart takes at most 16.
void CheckTrackCount(const CMidiSong& song, ConversionLog& log) {
    log.BeginStage("Check Track Nums... ", "\r\nCheck Track Nums...\r\n", /*moveAfterLine=*/true);
    const int tracks = song.TrackCount();
    if (tracks < 18)
        log.Append(" -MIDI has " + std::to_string(tracks - 1) + " Tracks.\r\n");
    else
        log.Append(" -MIDI track is over 16.\r\n");
}

// A chart file holds at most 65535 notes a track; the author hears of it before the end of
// the conversion rather than when the save fails.
void ReportUnsavableTracks(const CChart& chart, ConversionLog& log) {
    for (int t = 0; t < chart.usedTrackCount; ++t) {
        const uint32_t notes = chart.tracks[static_cast<std::size_t>(t)].Count();
        if (notes > kMaxBlockNotes)
            log.Append(
                " -Track " + std::to_string(t + 1) + " has " + std::to_string(notes) +
                " notes; a chart file holds at most 65535 notes a track, so this chart cannot be saved.\r\n");
    }
}

}  // namespace

ConversionPipeline::ConversionPipeline(CChart& chart, ConversionLog& log, ConversionHooks hooks)
    : chart(chart), log(log), hooks(std::move(hooks)) {}

ConversionPipeline::~ConversionPipeline() = default;

void ConversionPipeline::ReportUnreadable(const Status& status) {
    if (status.code == ErrorCode::FileTooLarge)
        log.Append(
            " -\r\nUser Selected File is larger than 64 MiB; no MIDI song is that large. Convert Canceled.");
    else
        log.Append(" -\r\nUser Selected File is not MIDI file. (MIDI Header Error)");
}

bool ConversionPipeline::Repair(std::vector<uint8_t> midiFile) {
    const std::vector<int> cutTracks = TracksEndingEarly(midiFile);
    song = std::make_unique<CMidiSong>();
    if (Status status = song->LoadBytes(std::move(midiFile)); !status) {
        ReportUnreadable(status);
        Drop();
        return false;
    }
    for (int track : cutTracks) log.Append(" -" + TrackEndsEarlyText(track) + "\r\n");
    if (!CheckFormat(*song, log)) {
        Drop();
        return false;
    }
    DeleteJunk(*song, log);
    CheckPatches(*song, log);
    CheckLength(*song, log);
    CheckTempo(*song, log);
    CheckTrackCount(*song, log);
    return true;
}

std::vector<uint8_t> ConversionPipeline::RepairedSong() const {
    return song ? song->Serialize() : std::vector<uint8_t>();
}

bool ConversionPipeline::Convert(std::span<const uint8_t> repairedFile) {
    log.BeginStage("Read MIDI Information...", "\r\nRead MIDI Information...\r\n");
    if (hooks.stopPlayback) hooks.stopPlayback();
    if (hooks.clearTrackList) hooks.clearTrackList();
    chart.player.Reset();
    chart.songInfo.genre = 0;
    chart.songInfo.level = 0;
    chart.songInfo.currentTrack = 0;
    chart.songInfo.midiPath.clear();
    // The accompaniment (the repaired song read back from its file, without its notes) is
    // made first and its notes given back, so that the song's notes are never held as
    // library events and as chart events at once; its stages below only report it.
    song.reset();
    song = std::make_unique<CMidiSong>();
    if (song->LoadBytes(std::vector<uint8_t>(repairedFile.begin(), repairedFile.end()))) {
        DelaySoundChangesAfterNotes(*song);
        DeleteEvents(*song, kDeleteNotes);
        song->ShrinkToFit();
    }
    {
        CSmfFile file;
        if (Status status = file.ReadBytes(repairedFile); !status) {
            log.Append(" -Unable to read the repaired song: " + status.Message() + "\r\n");
            return false;
        }

        log.BeginStage("MIDI Info Manager Create...", "MIDI Info Manager Create...\r\n");
        chart.ResetTracks();

        log.BeginStage("Convert to RYX...", "Convert to RYX...\r\n");
        CChartBuilder builder;
        builder.Build(file, chart);
    }

    log.BeginStage("Insert RYX Information...", "Insert RYX Information...\r\n");
    chart.selection.RemoveAll();
    chart.selectionChanged = false;
    chart.songInfo.title.clear();
    chart.songInfo.composer = "Unknown";
    chart.songInfo.extGenre.clear();
    FinishConvertedChart(chart);
    if (hooks.showLoadedChart) hooks.showLoadedChart(chart);

    log.BeginStage("Delete Junk Info...", "Delete Junk Info...\r\n");

    log.BeginStage("Create Tempo Manager...", "Create Tempo Manager...\r\n");
    chart.tempoMap.ReleaseTempoMap();
    if (song->IsLoaded())
        chart.tempoMap.BuildTempoMap(song->Track(0), static_cast<uint16_t>(song->Resolution()));

    ReportUnsavableTracks(chart, log);
    log.BeginStage("RYX Convert Finished", "\r\nRYX Convert Finished. Press 'OK'");
    return true;
}

std::vector<uint8_t> ConversionPipeline::Accompaniment() const {
    return RepairedSong();
}

void ConversionPipeline::Drop() {
    song.reset();
}

std::optional<std::vector<uint8_t>> ConvertSongBytes(std::vector<uint8_t> midiFile, CChart& chart,
                                                     ConversionLog& log) {
    ConversionPipeline pipeline(chart, log);
    if (!pipeline.Repair(std::move(midiFile))) return std::nullopt;
    const std::vector<uint8_t> repaired = pipeline.RepairedSong();
    if (!pipeline.Convert(repaired)) return std::nullopt;
    return pipeline.Accompaniment();
}
