#include "RenderCommand.h"

#include "chart/ChartFile.h"
#include "io/FileBytes.h"
#include "playback/PlaySchedule.h"
#include "playback/WavRenderer.h"

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

int RunRender(const RenderOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
              std::ostream& err) {
    const std::optional<int16_t> mode = FilterMode(options.filter);
    if (!mode) {
        err << "ryxtool: filter must be all, player or a track 0 to 15, not " << options.filter << "\n";
        return 2;
    }
    if (options.from < 0) {
        err << "ryxtool: --from must not be negative\n";
        return 2;
    }
    CChart chart;
    if (Status status = LoadChartFile(chart, options.chart, tempDir); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    std::vector<uint8_t> songBytes;
    SongTimeline song;
    Status read = ReadFileBytes(PathFromText(chart.songInfo.midiPath), songBytes);
    if (read) read = SongTimeline::FromSongBytes(songBytes, song);
    if (!read) {
        err << "ryxtool: the chart's song cannot be read: " << read.Message() << "\n";
        return 2;
    }
    chart.SetPlayFilter(*mode);
    const std::vector<ScheduledMessage> schedule = BuildPlaySchedule(chart, song, options.from);
    const MusicClock clock(song.Messages(), options.from, song.TempoAt(options.from));
    std::vector<int16_t> samples;
    if (Status status =
            RenderSchedule(schedule, clock, options.soundFont.value_or(DefaultSoundFont()), samples);
        !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    if (Status status = SaveFileAtomically(options.output, WavBytes(samples)); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    out << "Rendered " << static_cast<double>(samples.size() / 2) / kRenderSampleRate << " s to "
        << PathText(options.output) << "\n";
    return 0;
}
