// Fuzz target: a MIDI file through the whole conversion in memory, as the editor runs it
// (repair checks, the repaired song written and read back, chart builder, the rules of every
// loaded chart), then the player's notes chosen and the chart information written.

#include <cstdint>
#include <vector>

#include "chart/ChartInfo.h"
#include "chart/Selection.h"
#include "midi_import/ConversionPipeline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CChart chart;
    ConversionLog log;
    if (!ConvertSongBytes(std::vector<uint8_t>(data, data + size), chart, log)) return 0;
    SelectAllIfNoneSelected(chart, 0, kDefaultCollisionWindow);
    chart.RebuildPlayerFromSelection();
    if (CheckStorable(chart, chart.player.Count())) {
        ByteWriter out;
        WriteChartInfo(chart, out);
    }
    return 0;
}
