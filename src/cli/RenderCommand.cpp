#include "RenderCommand.h"

#include "OutputFile.h"
#include "PlaybackInput.h"
#include "io/FileSystem.h"
#include "playback/WavRenderer.h"

std::string SpeedFault(int percent) {
    if (percent >= 25 && percent <= 200) return {};
    return "--speed must be 25..200 percent, not " + std::to_string(percent);
}

int RunRender(const RenderOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
              std::ostream& err) {
    if (const std::string fault = SpeedFault(options.speed); !fault.empty()) {
        err << "ryxtool: " << fault << "\n";
        return 2;
    }
    if (!OutputIsNotInput(options.output, options.chart, err)) return 2;
    ChartDocument document(tempDir, ViewGeometry::Large(), {});
    SongTimeline song;
    if (!LoadPlaybackInput(options.chart, options.filter, options.from, document, song, err)) return 2;
    std::vector<int16_t> samples;
    const RenderSettings settings{options.speed / 100.0, options.metronome};
    if (Status status = RenderChart(document.Chart(), song, options.from,
                                    options.soundFont.value_or(DefaultSoundFont()), samples, settings);
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
