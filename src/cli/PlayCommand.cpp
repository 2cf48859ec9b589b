#include "PlayCommand.h"

#include <chrono>
#include <thread>

#include "PlaybackInput.h"
#include "RenderCommand.h"
#include "chart/SongEnd.h"
#include "document/ChartDocument.h"
#include "playback/SoundEngine.h"
#include "playback/SystemPorts.h"
#include "playback/SoundFont.h"

namespace {

// The port the option names: its index in the list, or its name.
std::optional<int> FindPort(const SoundEngine& engine, const std::string& wanted) {
    for (int i = 0; i < engine.PortCount(); ++i) {
        if (std::to_string(i) == wanted || engine.PortName(i) == wanted) return i;
    }
    return std::nullopt;
}

}  // namespace

int RunPlay(const PlayOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
            std::ostream& err, const std::atomic<bool>& stop) {
    SoundEngine engine(SystemPorts(DefaultSoundFont()));
    if (options.listPorts) {
        for (int i = 0; i < engine.PortCount(); ++i) out << i << " " << engine.PortName(i) << "\n";
        return 0;
    }
    if (!options.chart) {
        err << "ryxtool: play needs a chart file\n";
        return 2;
    }
    if (const std::string fault = SpeedFault(options.speed); !fault.empty()) {
        err << "ryxtool: " << fault << "\n";
        return 2;
    }
    engine.SetSpeed(options.speed);
    engine.SetMetronome(options.metronome);
    ChartDocument document(tempDir, ViewGeometry::Large(), {}, &engine);
    SongTimeline song;
    if (!LoadPlaybackInput(*options.chart, options.filter, options.from, document, song, err)) return 2;
    if (options.port) {
        const std::optional<int> index = FindPort(engine, *options.port);
        if (!index) {
            err << "ryxtool: no output port " << *options.port << " (ryxtool play --list-ports lists them)\n";
            return 2;
        }
        if (Status status = engine.ChangePort(*index); !status) {
            err << "ryxtool: " << status.Message() << "\n";
            return 2;
        }
    }
    if (engine.CurrentPort() == 0) {
        if (Status status = CheckSoundFont(DefaultSoundFont()); !status) {
            err << "ryxtool: " << status.Message() << "; set RYX_SOUNDFONT to a General MIDI SoundFont\n";
            return 2;
        }
    }
    out << "Playing through " << engine.PortName(engine.CurrentPort()) << "\n";
    // The editor's Play: it starts at the view position and ends at the song's end.
    if (Status status = document.PlayPause(); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    if (const std::string problem = engine.CurrentPortProblem(); !problem.empty()) out << problem << "\n";
    const int64_t end = PlayEndTick(document.Chart());
    auto nextReport = std::chrono::steady_clock::now();
    bool ended = false;
    int32_t position = document.View().position;
    while (!stop && !ended) {
        position = document.FollowPlayback(ended);
        if (std::chrono::steady_clock::now() >= nextReport) {
            out << "position " << position << " / " << end << std::endl;
            nextReport += std::chrono::seconds(1);
        }
        if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    document.Player()->ChartReplaced();  // silences and forgets the song
    out << (stop ? "stopped at " : "ended at ") << position << "\n";
    return 0;
}
