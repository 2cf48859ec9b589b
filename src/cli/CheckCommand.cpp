#include "CheckCommand.h"

#include "document/ChartDocument.h"

int RunCheck(const std::filesystem::path& chartPath, int32_t gap, const std::filesystem::path& tempDir,
             std::ostream& out, std::ostream& err) {
    if (gap < 0) {
        err << "ryxtool: --gap must not be negative, not " << gap << "\n";
        return 2;
    }
    ChartDocument document(tempDir, ViewGeometry::Large(), {});
    if (Status status = document.OpenChart(chartPath); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    const CChart& chart = document.Chart();
    const std::vector<ChartFinding> findings = CheckChart(chart, gap);
    for (const ChartFinding& finding : findings) out << FindingLine(chart, finding) << "\n";
    return findings.empty() ? 0 : 1;
}
