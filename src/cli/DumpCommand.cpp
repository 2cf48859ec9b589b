#include "DumpCommand.h"

#include <system_error>

#include "ChartJson.h"
#include "chart/ChartFile.h"

int RunDump(const std::filesystem::path& chartPath, const std::filesystem::path& tempDir, std::ostream& out,
            std::ostream& err) {
    CChart chart;
    if (Status status = LoadChartFile(chart, chartPath, tempDir); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    std::error_code error;
    std::uintmax_t midiBytes = std::filesystem::file_size(PathFromText(chart.songInfo.midiPath), error);
    out << JsonText(ChartToJson(chart, error ? 0 : midiBytes)) << "\n";
    return 0;
}
