// Fuzz target: a MIDI file through the whole conversion, in memory: the repair checks in the
// pipeline's order, the repaired song written and read back by the program's reader, the
// chart builder, the overlap pass, select-all and the chart information writer.

#include <cstdint>
#include <vector>

#include "chart/ChartInfo.h"
#include "editor/OverlapPass.h"
#include "editor/Selection.h"
#include "midi_import/ChartBuilder.h"
#include "midi_import/MidiSong.h"
#include "midi_import/RepairChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMidiSong song;
    if (!song.LoadBytes(std::vector<uint8_t>(data, data + size)) || song.Format() == 2) return 0;
    if (song.Format() == 0) ConvertToFormat1(song);
    SeparateTempoTrack(song);
    DeleteEvents(song, kDeleteSysEx);
    DeleteEvents(song, kDeleteBankSelect);
    FixPatches(song);
    FixLength(song);
    FixTempo(song);
    const std::vector<uint8_t> repaired = song.Serialize();

    CSmfFile file;
    file.ReadBytes(repaired);
    CChart chart;
    chart.ResetTracks();
    CChartBuilder builder;
    builder.Build(file, chart);
    chart.usedTrackCount = builder.filledTracks;
    RunOverlapPass(chart);
    SelectAllInTrack(chart, 0, kDefaultCollisionWindow);
    chart.RebuildPlayerFromSelection();
    if (CheckStorable(chart, chart.player.Count())) {
        ByteWriter out;
        WriteChartInfo(chart, out);
    }
    return 0;
}
