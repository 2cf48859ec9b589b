#include "RenderCommand.h"

#include "OutputFile.h"
#include "PlaybackInput.h"
#include "io/FileSystem.h"
#include "playback/WavRenderer.h"

int RunRender(const RenderOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
              std::ostream& err) {
    if (!OutputIsNotInput(options.output, options.chart, err)) return 2;
    ChartDocument document(tempDir, ViewGeometry::Large(), {});
    SongTimeline song;
    if (!LoadPlaybackInput(options.chart, options.filter, options.from, document, song, err)) return 2;
    std::vector<int16_t> samples;
    if (Status status = RenderChart(document.Chart(), song, options.from,
                                    options.soundFont.value_or(DefaultSoundFont()), samples);
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
