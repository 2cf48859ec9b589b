#include "CheckCommand.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

#include "difficulty/StarRating.h"
#include "document/ChartDocument.h"

int RunCheck(const std::filesystem::path& chartPath, int32_t gap, const std::filesystem::path& tempDir,
             std::ostream& out, std::ostream& err, bool json) {
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
    const double stars = RateChart(chart).stars;
    // Two decimals, as players read a rating.
    const double shown = std::round(stars * 100) / 100;
    if (json) {
        nlohmann::ordered_json result;
        result["stars"] = shown;
        result["suggestedLevel"] = SuggestedLevel(stars);
        result["findings"] = nlohmann::ordered_json::array();
        for (const ChartFinding& f : findings)
            result["findings"].push_back({{"track", f.track}, {"tick", f.tick}, {"lane", f.lane}, {"text", f.text}});
        out << result.dump() << "\n";
    } else {
        char line[80];
        std::snprintf(line, sizeof line, "Difficulty: %.2f stars, suggested level %d", stars, SuggestedLevel(stars));
        out << line << "\n";
        for (const ChartFinding& finding : findings) out << FindingLine(chart, finding) << "\n";
    }
    return findings.empty() ? 0 : 1;
}
