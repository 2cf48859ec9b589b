#include "SetCommand.h"

#include "document/ChartDocument.h"

int RunSet(const std::filesystem::path& chartPath, const SongInfoOptions& options,
           const std::filesystem::path& tempDir, std::ostream& err) {
    if (!ValidSongInfo(options, err)) return 2;
    ChartDocument document(tempDir, ViewGeometry::Large(), {});
    if (Status status = document.OpenChart(chartPath); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    CSongInfo& info = document.Chart().songInfo;
    ApplySongInfo(options, info, err);
    if (Status status = document.SaveTo(chartPath, SongFieldsOf(info), info.currentTrack).status; !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    return 0;
}
