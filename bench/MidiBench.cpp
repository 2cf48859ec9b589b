// Reading the large song (LargeSong.h) from disk with the MIDI library layer and with the
// program's own reader.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "LargeSong.h"
#include "io/FileSystem.h"
#include "io/TempDirectory.h"
#include "midi_import/SmfFile.h"
#include "smf/LibSmf.h"

namespace {

struct LargeFile {
    LargeFile() : temp(*TempDirectory::Create("ryx-bench-")), path(temp.Path() / "large.mid") {
        if (!SaveFileAtomically(path, LargeSong())) std::abort();
    }
    TempDirectory temp;
    std::filesystem::path path;
};

const LargeFile& Fixture() {
    static const LargeFile file;
    return file;
}

void BM_ReadLargeFileWithLibrary(benchmark::State& state) {
    const LargeFile& file = Fixture();
    std::size_t events = 0;
    for (auto _ : state) {
        CLibSmf smf;
        if (!smf.Open(file.path, 'r')) state.SkipWithError("open failed");
        std::vector<CLibTrack> tracks(smf.FileTrackCount());
        for (CLibTrack& track : tracks) smf.AddTrack(track);
        smf.Read();
        events = 0;
        for (const CLibTrack& track : tracks) events += track.Count();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_ReadLargeFileWithLibrary)->Unit(benchmark::kMillisecond);

void BM_ReadLargeFileWithSmfFile(benchmark::State& state) {
    const LargeFile& file = Fixture();
    std::size_t events = 0;
    for (auto _ : state) {
        CSmfFile smf;
        smf.Read(file.path);
        events = 0;
        for (int n = 0; n < smf.trackCount; ++n) events += smf.TrackEvents(n)->size();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_ReadLargeFileWithSmfFile)->Unit(benchmark::kMillisecond);

}  // namespace
