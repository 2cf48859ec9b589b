#include "PreviewCommand.h"

#include "OutputFile.h"
#include "chart/ChartFile.h"
#include "editor/ChartPainter.h"
#include "io/FileSystem.h"

int RunPreview(const PreviewOptions& options, const std::filesystem::path& tempDir, std::ostream& err) {
    if (options.layout != "large" && options.layout != "small") {
        err << "ryxtool: layout must be large or small, not " << options.layout << "\n";
        return 2;
    }
    if (options.track < 0 || options.track >= kTrackCount) {
        err << "ryxtool: track must be 0 to " << kTrackCount - 1 << ", not " << options.track << "\n";
        return 2;
    }
    if (options.interval < 1) {
        err << "ryxtool: interval must be at least 1, not " << options.interval << "\n";
        return 2;
    }
    const ViewGeometry layout = options.layout == "large" ? ViewGeometry::Large() : ViewGeometry::Small();
    constexpr int kTallest = 8192;
    if (options.height && (*options.height < layout.height || *options.height > kTallest)) {
        err << "ryxtool: height must be " << layout.height << " to " << kTallest << " for the " << options.layout
            << " layout, not " << *options.height << "\n";
        return 2;
    }
    if (options.longLength < 0) {
        err << "ryxtool: long must not be negative\n";
        return 2;
    }

    if (!OutputIsNotInput(options.output, options.chart, err)) return 2;
    CChart chart;
    if (Status status = LoadChartFile(chart, options.chart, tempDir); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    ViewSettings settings;
    settings.interval = options.interval;
    settings.longLength = options.longLength;
    settings.beatLines = options.beatLines;
    ChartView view(chart, layout.WithHeight(options.height.value_or(layout.height)), settings);
    if (Status status = view.LoadBitmaps(options.dataDir); !status) {
        err << "ryxtool: cannot read the view's artwork: " << status.Message() << "\n";
        return 2;
    }
    view.ResetForLoadedChart(PathText(options.chart.stem()));
    view.SetCurrentTrack(options.track);
    view.SetPosition(options.position, false);

    DrawScreen screen(view.geometry.width, view.geometry.height);
    PaintChartView(view, screen);
    if (Status status = screen.WritePng(options.output); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    return 0;
}
