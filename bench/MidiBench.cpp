// Reading a large format 1 file (16 tracks of 60,000 notes, a tempo change every measure,
// about 2 million events) with the MIDI library layer and with the program's own reader.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "chart/TempDirectory.h"
#include "midi_import/SmfFile.h"
#include "smf/FileBytes.h"
#include "smf/LibSmf.h"

namespace {

constexpr uint16_t kResolution = 480;
constexpr int kTracks = 16;
constexpr int kNotesPerTrack = 60000;
constexpr uint32_t kNoteTicks = kResolution / 2;

// Writes the file through the library layer: a conductor track with a tempo change at every
// 4/4 measure, then 16 tracks of eighth notes.
std::vector<uint8_t> LargeSong() {
    std::vector<CLibTrack> tracks(kTracks + 1);
    const uint32_t measures = kNotesPerTrack * kNoteTicks / (4 * kResolution);
    for (uint32_t m = 0; m < measures; ++m)
        tracks[0].Insert(MakeTempoEvent(m == 0 ? 0 : 4 * kResolution, 400000 + (m % 50) * 2000));
    for (int t = 1; t <= kTracks; ++t) {
        CLibTrack& track = tracks[static_cast<std::size_t>(t)];
        const auto channel = static_cast<uint8_t>((t - 1) % 16);
        track.SetName("Track " + std::to_string(t));
        for (int n = 0; n < kNotesPerTrack; ++n) {
            const auto key = static_cast<uint8_t>(36 + (n * 7 + t) % 48);
            track.Insert({0, static_cast<uint8_t>(0x90 | channel), key, 100, 0});
            track.Insert({kNoteTicks, static_cast<uint8_t>(0x80 | channel), key, 0, 0});
        }
    }
    CLibSmf writer;
    writer.Open("unused.mid", 'w', 1);
    for (CLibTrack& track : tracks) writer.AddTrack(track);
    writer.SetResolution(kResolution);
    return writer.Serialize();
}

struct LargeFile {
    LargeFile() : temp(*TempDirectory::Create("ryx-bench-")), path(temp.Path() / "large.mid") {
        if (!WriteFileBytes(path, LargeSong())) std::abort();
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
