// Fuzz target: a chart file read from bytes, through the container and the chart
// information reader, as the load does.

#include <cstdint>
#include <vector>

#include "chart/ChartArchive.h"
#include "chart/ChartInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    CChartArchive archive;
    if (archive.OpenBytes(bytes)) {
        std::vector<uint8_t> info, song;
        if (archive.ReadSegment("inf", info)) {
            CChart chart;
            ReadChartInfoSegment(info, chart);
        }
        archive.ReadSegment("mid", song);
    }
    // The same bytes as a bare chart information segment, so the fuzzer need not build a
    // container to reach deep into the reader.
    CChart chart;
    ReadChartInfoSegment(bytes, chart);
    return 0;
}
