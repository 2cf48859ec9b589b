#include "PlaybackInput.h"

#include <optional>

#include "chart/SongEnd.h"
#include "io/FileBytes.h"

namespace {

// The editor's play filter for the option: -1 all tracks, -2 the player's notes, or a track.
std::optional<int16_t> FilterMode(const std::string& text) {
    if (text == "all") return kPlayAll;
    if (text == "player") return kPlayPlayerOnly;
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int track = std::stoi(text);
    if (track >= kTrackCount) return std::nullopt;
    return static_cast<int16_t>(track);
}

}  // namespace

bool LoadPlaybackInput(const std::filesystem::path& chartPath, const std::string& filter, int64_t from,
                       ChartDocument& document, SongTimeline& song, std::ostream& err) {
    const std::optional<int16_t> mode = FilterMode(filter);
    if (!mode) {
        err << "ryxtool: filter must be all, player or a track 0 to 15, not " << filter << "\n";
        return false;
    }
    if (from < 0) {
        err << "ryxtool: --from must not be negative\n";
        return false;
    }
    if (Status status = document.OpenChart(chartPath); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return false;
    }
    CChart& chart = document.Chart();
    std::vector<uint8_t> songBytes;
    Status read = ReadFileBytes(PathFromText(chart.songInfo.midiPath), songBytes);
    if (read) read = SongTimeline::FromSongBytes(songBytes, song);
    if (!read) {
        err << "ryxtool: the chart's song cannot be read: " << read.Message() << "\n";
        return false;
    }
    if (const int64_t end = PlayEndTick(chart); from > end) {
        err << "ryxtool: --from " << from << " is past the song's end (tick " << end << ")\n";
        return false;
    }
    chart.SetPlayFilter(*mode);
    document.View().SetPosition(static_cast<int32_t>(from), false);
    return true;
}
