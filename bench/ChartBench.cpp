// Load, save and check of the largest chart a chart file can hold: 16 tracks and the player
// track of 65,535 notes each.

#include <benchmark/benchmark.h>

#include <fstream>

#include "difficulty/ChartCheck.h"
#include "difficulty/PickNotes.h"
#include "difficulty/StarRating.h"
#include "chart/ChartFile.h"
#include "chart/Lanes.h"
#include "io/TempDirectory.h"

namespace {

struct LargestChart {
    LargestChart() : temp(*TempDirectory::Create("ryx-bench-")) {
        std::vector<char> song(200000, 0x40);
        std::ofstream(temp.Path() / "song.mid", std::ios::binary)
            .write(song.data(), static_cast<std::streamsize>(song.size()));
        chart.songInfo.midiPath = (temp.Path() / "song.mid").string();
        chart.songInfo.title = "Benchmark";
        for (uint16_t t = 0; t < kTrackCount; ++t) {
            for (int32_t i = 0; i < 65535; ++i) {
                CNote note;
                note.time = i * 96;
                note.length = 90;
                note.status = static_cast<uint8_t>(0x90 | t);
                note.key = static_cast<uint8_t>(36 + (i + t) % 60);
                note.velocity = 100;
                note.track = t;
                note.lane = LaneFromKey(note.key);
                note.selected = t == 0;
                chart.tracks[t].Append(note);
                if (t == 0) chart.player.Append(note);
            }
        }
        chart.usedTrackCount = kTrackCount;
        path = temp.Path() / "largest.ryx";
        if (!SaveChartFile(chart, path, temp.Path())) std::abort();
    }

    TempDirectory temp;
    CChart chart;
    std::filesystem::path path;
};

LargestChart& Fixture() {
    static LargestChart fixture;
    return fixture;
}

void BM_LoadLargestChart(benchmark::State& state) {
    LargestChart& f = Fixture();
    for (auto _ : state) {
        CChart chart;
        if (!LoadChartFile(chart, f.path, f.temp.Path())) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(chart.player.Count());
    }
}
BENCHMARK(BM_LoadLargestChart)->Unit(benchmark::kMillisecond);

void BM_SaveLargestChart(benchmark::State& state) {
    LargestChart& f = Fixture();
    for (auto _ : state) {
        if (!SaveChartFile(f.chart, f.path, f.temp.Path())) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveLargestChart)->Unit(benchmark::kMillisecond);

void BM_CheckLargestChart(benchmark::State& state) {
    // Every note of track 0 is a player note: the hidden-note lookup runs 65,535 times.
    LargestChart& f = Fixture();
    for (auto _ : state) benchmark::DoNotOptimize(CheckChart(f.chart, kDefaultCollisionWindow).size());
}
BENCHMARK(BM_CheckLargestChart)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The star rating of 10,000 player notes: a dense stream with chords and holds in all seven
// lanes, 4 notes a beat at 150 bpm; what the palette does after every edit.
void BM_RateTenThousandNotes(benchmark::State& state) {
    std::vector<ManiaNote> notes;
    for (int i = 0; i < 10000; ++i) {
        const int64_t ms = i * 100;
        const int column = (i * 3) % 7;
        notes.push_back({ms, i % 11 == 0 ? ms + 350 : ms, column});
        if (i % 5 == 0) notes.push_back({ms, ms, (column + 3) % 7});
    }
    notes.resize(10000);
    double stars = 0;
    for (auto _ : state) {
        stars = RateNotes(notes).stars;
        benchmark::DoNotOptimize(stars);
    }
    state.counters["stars"] = stars;
}
BENCHMARK(BM_RateTenThousandNotes)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Pick Notes on a track of 10,000 notes (a 16th-note stream across all lanes at 120 bpm).
void BM_PickNotesTenThousand(benchmark::State& state) {
    CChart chart;
    for (int i = 0; i < 10000; ++i) {
        CNote note;
        note.time = i * 192;
        note.length = i % 9 == 0 ? 900 : 150;
        note.key = static_cast<uint8_t>(40 + (i * 7) % 40);
        note.lane = static_cast<uint16_t>((i * 3) % 7);
        note.velocity = static_cast<uint8_t>(50 + i % 70);
        note.status = 0x90;
        chart.tracks[0].Append(note);
    }
    chart.usedTrackCount = 1;
    double stars = 0;
    for (auto _ : state) {
        stars = PickNotes(chart, {3.0, 0, 100, 768}).stars;
        benchmark::DoNotOptimize(stars);
    }
    state.counters["stars"] = stars;
}
BENCHMARK(BM_PickNotesTenThousand)->Unit(benchmark::kMillisecond);

}  // namespace
