// The editor on a dense chart: 60,000 notes in the current track, all selected, the view in
// the middle of the song. Painting one frame, selecting the whole track, undoing and redoing it.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include "chart/Lanes.h"
#include "chart/Selection.h"
#include "editor/ChartPainter.h"
#include "editor/NoteEditor.h"

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

// Select All as the editor does it, recorded as one undoable step; `historyMB` is what the
// history holds for the step.
void BM_SelectAllDenseTrack(benchmark::State& state) {
    const CChart dense = DenseChart();
    double historyBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CChart chart = dense;
        ChartView view(chart, ViewGeometry::Large());
        view.ResetForLoadedChart("dense");
        NoteEditor editor(view);
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        editor.SelectAll();
        benchmark::DoNotOptimize(chart.selection.Count());
        state.PauseTiming();
        historyBytes = static_cast<double>(mallinfo2().uordblks - before) -
                       static_cast<double>(chart.selection.Count()) * sizeof(CNote);
        state.ResumeTiming();
    }
    state.counters["historyMB"] = historyBytes / 1e6;
}
BENCHMARK(BM_SelectAllDenseTrack)->Unit(benchmark::kMillisecond);

// Undoing and redoing that Select All.
void BM_UndoRedoSelectAll(benchmark::State& state) {
    CChart chart = DenseChart();
    ChartView view(chart, ViewGeometry::Large());
    view.ResetForLoadedChart("dense");
    NoteEditor editor(view);
    editor.SelectAll();
    for (auto _ : state) {
        editor.Undo();
        editor.Redo();
        benchmark::DoNotOptimize(chart.selection.Count());
    }
}
BENCHMARK(BM_UndoRedoSelectAll)->Unit(benchmark::kMillisecond);

}  // namespace
