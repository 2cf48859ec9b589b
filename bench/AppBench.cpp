// The window's share of a frame: painting the chart view into the view widget (the painter's
// frame and the back buffer put on the widget), large layout, on Qt's offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "app/ChartViewWidget.h"
#include "chart/Lanes.h"
#include "chart/Selection.h"

namespace {

void BM_ShowViewFrame(benchmark::State& state) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "app_bench";
    char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;

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

}  // namespace
