#include "SetCommand.h"

#include "chart/ChartFile.h"

int RunSet(const std::filesystem::path& chartPath, const SongInfoOptions& options,
           const std::filesystem::path& tempDir, std::ostream& err) {
    if (!ValidSongInfo(options, err)) return 2;
    CChart chart;
    if (Status status = LoadChartFile(chart, chartPath, tempDir); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    ApplySongInfo(options, chart.songInfo, err);
    if (Status status = SaveChartFile(chart, chartPath, tempDir); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    return 0;
}
