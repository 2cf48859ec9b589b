#include "Exporter.h"

#include <fstream>
#include <map>
#include <random>
#include <system_error>
#include <tuple>

#include "Archive.h"
#include "io/FileSystem.h"
#include "io/PathText.h"
#include "playback/WavRenderer.h"

namespace {

bool IsArchive(const std::filesystem::path& output) {
    const std::string ext = PathText(output.extension());
    return ext == ".osz" || ext == ".qp";
}

Status WriteText(const std::filesystem::path& path, const std::string& text) {
    return SaveFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// A fresh folder beside `output`, so the finished export moves into place by renaming.
std::optional<std::filesystem::path> MakeWorkFolder(const std::filesystem::path& output) {
    const std::filesystem::path parent = output.parent_path().empty() ? "." : output.parent_path();
    std::random_device random;
    for (int attempt = 0; attempt < 20; ++attempt) {
        const std::filesystem::path folder =
            parent / ("." + PathText(output.filename()) + ".part-" + std::to_string(random() % 1000000));
        std::error_code ec;
        if (std::filesystem::create_directory(folder, ec)) return folder;
    }
    return std::nullopt;
}

struct FolderRemover {
    std::filesystem::path folder;
    ~FolderRemover() {
        std::error_code ec;
        if (!folder.empty()) std::filesystem::remove_all(folder, ec);
    }
};

// A distinct sound of a player note: its track (so its instrument and channel), key,
// velocity and length.
using SoundKey = std::tuple<uint16_t, uint8_t, uint8_t, int32_t>;

Status MoveIntoPlace(const std::filesystem::path& work, const ExportOptions& options, ExportResult& result) {
    std::error_code ec;
    if (IsArchive(options.output)) {
        const std::filesystem::path archive = work.string() + ".zip";
        if (Status status = ZipFolder(work, archive); !status) return status;
        std::filesystem::rename(archive, options.output, ec);
        if (ec) {
            std::filesystem::remove(archive, ec);
            Status status = Status::Fail(ErrorCode::ReplaceOutput, PathText(options.output));
            status.reason = ec.message();
            return status;
        }
        return {};
    }
    if (!std::filesystem::exists(options.output, ec)) {
        std::filesystem::rename(work, options.output, ec);
    } else if (std::filesystem::is_directory(options.output, ec)) {
        // Into the folder there: each file replaces its namesake.
        for (const std::string& file : result.files) {
            std::filesystem::rename(work / file, options.output / file, ec);
            if (ec) break;
        }
    } else {
        return Status::Fail(ErrorCode::OutputNotAFile, PathText(options.output));
    }
    if (ec) {
        Status status = Status::Fail(ErrorCode::ReplaceOutput, PathText(options.output));
        status.reason = ec.message();
        return status;
    }
    return {};
}

}  // namespace

std::string ChartFileName(GameFormat format, const std::string& title) {
    std::string name;
    for (char c : title) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == ' ' || c == '-' || c == '_' || c == '(' || c == ')' || c == '[' || c == ']';
        name += plain || static_cast<unsigned char>(c) >= 0x80 ? c : '_';
    }
    if (name.empty() || name.find_first_not_of(' ') == std::string::npos) name = "chart";
    const char* ext = format == GameFormat::Osu ? ".osu" : format == GameFormat::Quaver ? ".qua" : ".bme";
    return name + ext;
}

Status ExportChartFiles(const CChart& chart, const SongTimeline& song, const ExportOptions& options,
                        ExportResult& result, const std::function<void(double, const std::string&)>& progress) {
    auto tell = [&](double share, const std::string& what) {
        if (progress) progress(share, what);
    };
    result = {};
    ExportChart e = ExportChartOf(chart);
    if (e.notes.empty()) return Status::Fail(ErrorCode::NoPlayerNotes);
    const std::optional<std::filesystem::path> work = MakeWorkFolder(options.output);
    if (!work) return Status::Fail(ErrorCode::CreateOutput, PathText(options.output));
    FolderRemover cleanup{*work};

    // Every track plays in the song's audio (the player's own notes too, unless each note
    // sounds by itself), whatever the editor's play filter.
    CChart all = chart;
    all.SetPlayFilter(kPlayAll);
    const AudioFormat format = options.audio == AudioChoice::Wav ? AudioFormat::Wav : AudioFormat::Ogg;
    const std::string ext = format == AudioFormat::Wav ? ".wav" : ".ogg";
    if (options.audio != AudioChoice::None) {
        tell(0.0, "Rendering the song");
        std::vector<int16_t> samples;
        RenderSettings settings;
        settings.withoutPlayerNotes = options.keysounds;
        if (Status status = RenderChart(all, song, 0, options.soundFont, samples, settings); !status) return status;
        e.audioFile = "audio" + ext;
        tell(0.3, "Encoding the song");
        if (Status status = WriteAudioFile(*work / e.audioFile, samples, format,
                                           [&](double share) { tell(0.3 + 0.4 * share, "Encoding the song"); });
            !status)
            return status;
        result.files.push_back(e.audioFile);
    }
    if (options.keysounds) {
        // Each distinct sound once, in the order the notes first use it, all through one
        // synthesizer so the SoundFont loads once.
        SynthPort port;
        if (Status status = port.Load(options.soundFont); !status) return status;
        port.SetPacing(SynthPort::Pacing::Offline);
        const std::span<const CNote> player = chart.PlayerNotes();
        std::map<SoundKey, int> sounds;
        for (const TimedNote& n : e.notes) {
            const CNote& note = player[n.playerIndex];
            const SoundKey key{note.track, note.key, note.velocity, note.length};
            const auto [it, added] = sounds.emplace(key, static_cast<int>(sounds.size()));
            e.noteSamples.push_back(it->second);
            if (!added) continue;
            if (options.format == GameFormat::Bms && sounds.size() > kBmsMostSounds)
                return Status::Fail(ErrorCode::TooManySounds);
            char name[32];
            std::snprintf(name, sizeof name, "ks-%03d%s", it->second + 1, ext.c_str());
            e.sampleFiles.push_back(name);
            // The note alone, with what is in force on its channel at its time.
            CChart one;
            one.tempoMap = chart.tempoMap;
            one.tracks[note.track & 15].instrument = chart.tracks[note.track & 15].instrument;
            CNote alone = note;
            alone.selected = false;
            one.tracks[note.track & 15].Append(alone);
            one.usedTrackCount = static_cast<uint16_t>((note.track & 15) + 1);
            one.SetPlayFilter(kPlayAll);
            RenderSettings settings;
            settings.endTick = int64_t{note.time} + std::max(note.length, 1);
            std::vector<int16_t> samples;
            if (Status status = RenderChartWith(port, one, song, note.time, samples, settings); !status)
                return status;
            if (Status status = WriteAudioFile(*work / name, samples, format); !status) return status;
            result.files.push_back(name);
            tell(0.7 + 0.25 * static_cast<double>(n.playerIndex) / static_cast<double>(player.size()),
                 "Rendering the notes' sounds");
        }
    }

    tell(0.95, "Writing the chart");
    const std::string chartFile = ChartFileName(options.format, e.title);
    const std::string text = options.format == GameFormat::Osu      ? OsuText(e, options.osu)
                             : options.format == GameFormat::Quaver ? QuaText(e)
                                                                    : BmsText(e);
    if (Status status = WriteText(*work / chartFile, text); !status) return status;
    result.files.push_back(chartFile);

    if (Status status = MoveIntoPlace(*work, options, result); !status) return status;
    result.output = options.output;
    tell(1.0, "Done");
    return {};
}
