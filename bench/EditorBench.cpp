// The editor on a dense chart: 60,000 notes in the current track, all selected, the view in
// the middle of the song. Painting one frame and selecting the whole track.

#include <benchmark/benchmark.h>

#include "chart/Lanes.h"
#include "chart/Selection.h"
#include "editor/ChartPainter.h"

namespace {

constexpr int kNotes = 60000;

CChart DenseChart() {
    CChart chart;
    for (int i = 0; i < kNotes; ++i) {
        CNote note;
        note.time = i * 120;
        note.length = i % 4 == 0 ? 900 : 100;
        note.status = 0x90;
        note.key = static_cast<uint8_t>(48 + i * 5 % 24);
        note.velocity = 100;
        note.lane = LaneFromKey(note.key);
        note.longNote = i % 8 == 0;
        chart.tracks[0].Append(note);
    }
    chart.usedTrackCount = 1;
    return chart;
}

void GiveArtwork(ChartView& view) {
    const ViewGeometry& g = view.geometry;
    view.noteCells.CreateFromPixels(
        g.laneWidth, 68 * g.cellHeight,
        std::vector<Colour>(static_cast<std::size_t>(g.laneWidth * 68 * g.cellHeight), 0x3366CC));
    view.scrollBar.CreateFromPixels(
        g.laneWidth, g.laneHeight,
        std::vector<Colour>(static_cast<std::size_t>(g.laneWidth * g.laneHeight), 0xDDDDDD));
    view.thumbImage.CreateFromPixels(
        g.laneWidth, g.buttonHeight,
        std::vector<Colour>(static_cast<std::size_t>(g.laneWidth * g.buttonHeight), 0x4477FF));
}

// Argument 1: with beat and measure lines.
void BM_PaintDenseFrame(benchmark::State& state) {
    CChart chart = DenseChart();
    ChartView view(chart, ViewGeometry::Large());
    view.settings.beatLines = state.range(0) == 1;
    GiveArtwork(view);
    view.ResetForLoadedChart("dense");
    SelectAllInTrack(chart, 0, view.CollisionWindow());
    view.SetPosition(view.songLength / 2, false);
    DrawScreen screen(view.geometry.width, view.geometry.height);
    for (auto _ : state) {
        PaintChartView(view, screen);
        benchmark::DoNotOptimize(screen.Pixels().data());
    }
    state.counters["selected"] = chart.selection.Count();
}
BENCHMARK(BM_PaintDenseFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SelectAllDenseTrack(benchmark::State& state) {
    const CChart dense = DenseChart();
    for (auto _ : state) {
        state.PauseTiming();
        CChart chart = dense;
        state.ResumeTiming();
        SelectAllInTrack(chart, 0, kDefaultCollisionWindow);
        benchmark::DoNotOptimize(chart.selection.Count());
    }
}
BENCHMARK(BM_SelectAllDenseTrack)->Unit(benchmark::kMillisecond);

}  // namespace
