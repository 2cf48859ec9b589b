#include "RepairPipeline.h"

#include "RepairChecks.h"

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

}  // namespace

bool RunRepairPipeline(CMidiSong& song, const std::filesystem::path& path, ConversionLog& log) {
    if (!song.Load(path)) {
        log.Append(" -\r\nUser Selected File is not MIDI file. (MIDI Heaer Error)");
        return false;
    }
    if (!CheckFormat(song, log)) {
        song.Unload();
        return false;
    }
    DeleteJunk(song, log);
    CheckPatches(song, log);
    CheckLength(song, log);
    CheckTempo(song, log);
    CheckTrackCount(song, log);
    return true;
}
