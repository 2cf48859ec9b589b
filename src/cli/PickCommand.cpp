#include "PickCommand.h"

#include <algorithm>
#include <cstdio>

#include "document/ChartDocument.h"
#include "io/PathText.h"

int RunPick(const PickOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
            std::ostream& err) {
    if (!(options.stars > 0 && options.stars <= 20)) {
        err << "ryxtool: --stars must be above 0 and at most 20\n";
        return 2;
    }
    std::optional<int> track;
    if (!options.track.empty() && options.track != "all") {
        const std::string& t = options.track;
        const bool number = !t.empty() && t.size() <= 2 && t.find_first_not_of("0123456789") == std::string::npos;
        if (!number || std::stoi(t) >= kTrackCount) {
            err << "ryxtool: --track must be a track 0..15 or all, not " << t << "\n";
            return 2;
        }
        track = std::stoi(t);
    }
    ChartDocument document(tempDir, ViewGeometry::Large(), {});
    if (Status status = document.OpenChart(options.chart); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    // The track the chart was saved with current, unless another was named.
    if (options.track.empty())
        track = std::clamp<int>(document.Chart().songInfo.currentTrack, 0, kTrackCount - 1);
    const PickResult result = document.PickPlayerNotes(options.stars, track);
    const std::filesystem::path target = options.output.value_or(options.chart);
    CSongInfo& info = document.Chart().songInfo;
    if (Status status = document.SaveTo(target, SongFieldsOf(info), info.currentTrack).status; !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    char line[160];
    std::snprintf(line, sizeof line, "Picked %zu notes: %.2f stars for %.2f%s", result.notes.size(), result.stars,
                  options.stars, result.withinTolerance ? "" : " (as close as the notes allow)");
    out << line << "; saved " << PathText(target) << "\n";
    return 0;
}
