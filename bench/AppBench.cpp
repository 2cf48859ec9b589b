// The window's share of a frame: painting the chart view into the view widget (the painter's
// frame and the back buffer put on the widget), large layout, on Qt's offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <filesystem>
#include <fstream>

#include "app/ChartViewWidget.h"
#include "app/TestPlayView.h"
#include "playback/OutputPort.h"
#include "chart/Lanes.h"
#include "chart/Selection.h"

namespace {

// Widgets need an application, on the offscreen platform: one for the whole run.
void EnsureApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "app_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

void BM_ShowViewFrame(benchmark::State& state) {
    EnsureApplication();

    CChart chart;
    for (int32_t i = 0; i < 60000; ++i) {
        CNote note;
        note.time = i * 50;
        note.length = i % 7 == 0 ? 1500 : 40;
        note.key = static_cast<uint8_t>(36 + i % 48);
        note.lane = LaneFromKey(note.key);
        note.status = 0x90;
        chart.tracks[0].Append(note);
    }
    chart.usedTrackCount = 1;
    ChartView view(chart, ViewGeometry::Large());
    NoteEditor editor(view);
    view.ResetForLoadedChart("bench");
    SelectAllInTrack(chart, 0, view.CollisionWindow());
    view.SetPosition(view.songLength / 2, false);
    ChartViewWidget widget(view, editor);
    QImage target(widget.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        widget.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ShowViewFrame)->Unit(benchmark::kMicrosecond);

// Test-play: a frame with its overlay (the judgement line, lit lanes, the scores), and a key
// going down and up through the run (the judge, the hit note's sound handed to the engine).
struct TestPlayBench {
    TestPlayBench() {
        for (int32_t i = 0; i < 20000; ++i) {
            CNote note;
            note.time = i * 96;
            note.length = 40;
            note.key = static_cast<uint8_t>(36 + i % 48);
            note.lane = LaneFromKey(note.key);
            note.status = 0x90;
            chart.tracks[0].Append(note);
        }
        chart.usedTrackCount = 1;
        SelectAllInTrack(chart, 0, 100);
        chart.RebuildPlayerFromSelection();
        // A song of one tempo, as a converted chart's accompaniment file would hold.
        song = std::filesystem::temp_directory_path() / "ryx-bench-song.mid";
        const unsigned char bytes[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,  'M', 'T', 'r', 'k',
                                       0,   0,   0,   11, 0, 0xFF, 0x51, 3, 7, 0xA1, 0x20, 0, 0xFF, 0x2F, 0};
        std::ofstream(song, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
        std::vector<std::unique_ptr<OutputPort>> ports;
        ports.push_back(std::make_unique<RecordingPort>());
        engine = std::make_unique<SoundEngine>(std::move(ports));
        run = std::make_unique<TestPlayRun>(chart, *engine);
    }
    CChart chart;
    std::filesystem::path song;
    std::unique_ptr<SoundEngine> engine;
    std::unique_ptr<TestPlayRun> run;
};

void BM_TestPlayFrame(benchmark::State& state) {
    EnsureApplication();
    TestPlayBench bench;
    ChartView view(bench.chart, ViewGeometry::Large());
    NoteEditor editor(view);
    view.ResetForLoadedChart("bench");
    view.SetPosition(view.songLength / 2, false);
    if (!bench.run->Start(view.position, bench.song, true, 0)) state.SkipWithError("no run");
    ChartViewWidget widget(view, editor);
    widget.overlay = [&](QPainter& painter) { PaintTestPlay(painter, view.geometry, *bench.run); };
    QImage target(widget.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        bench.run->Frame();
        widget.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_TestPlayFrame)->Unit(benchmark::kMicrosecond);

void BM_TestPlayKeyToJudgement(benchmark::State& state) {
    TestPlayBench bench;
    if (!bench.run->Start(0, bench.song, false, 0)) state.SkipWithError("no run");
    for (auto _ : state) {
        bench.run->KeyDown(3, 0);
        bench.run->KeyUp(3, 0);
    }
}
BENCHMARK(BM_TestPlayKeyToJudgement)->Unit(benchmark::kMicrosecond);

}  // namespace
