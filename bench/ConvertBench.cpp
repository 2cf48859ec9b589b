// The whole `ryxtool convert` path on the large song (LargeSong.h): repair, conversion,
// overlap pass, select-all and save, and on the densest song. Reports the process's peak
// memory as a counter.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>

#include "LargeSong.h"
#include "cli/ConvertCommand.h"
#include "io/FileSystem.h"
#include "io/TempDirectory.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

double PeakMemoryMB() {
#ifndef _WIN32
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
#else
    return 0;
#endif
}

void BM_ConvertLargeFile(benchmark::State& state) {
    std::optional<TempDirectory> folder = TempDirectory::Create("ryx-bench-");
    const std::filesystem::path input = folder->Path() / "large.mid";
    if (!SaveFileAtomically(input, LargeSong())) std::abort();
    ConvertOptions options;
    options.input = input;
    options.output = folder->Path() / "large.ryx";
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunConvert(options, folder->Path(), out, err) != 0) state.SkipWithError("conversion failed");
    }
    state.counters["peakMB"] = PeakMemoryMB();
}
BENCHMARK(BM_ConvertLargeFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// Peak memory of a conversion against the file's size, on the densest possible file (run it
// alone, --benchmark_filter=Dense, as the peak is the whole process's). Its one track holds far
// more notes than a chart file can, so the save is refused after the conversion.
void BM_ConvertDenseEvents(benchmark::State& state) {
    std::optional<TempDirectory> folder = TempDirectory::Create("ryx-bench-");
    const std::filesystem::path input = folder->Path() / "dense.mid";
    const std::vector<uint8_t> song = DenseSong(static_cast<std::size_t>(state.range(0)));
    if (!SaveFileAtomically(input, song)) std::abort();
    ConvertOptions options;
    options.input = input;
    options.output = folder->Path() / "dense.ryx";
    for (auto _ : state) {
        std::ostringstream out, err;
        RunConvert(options, folder->Path(), out, err);
    }
    state.counters["fileMB"] = static_cast<double>(song.size()) / (1 << 20);
    state.counters["peakPerFileByte"] = PeakMemoryMB() * (1 << 20) / static_cast<double>(song.size());
}
BENCHMARK(BM_ConvertDenseEvents)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
