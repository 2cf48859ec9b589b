#pragma once
// Exporter: a chart as one of the open seven-key games takes it: the chart file, the song's
// audio and, on request, each player note's own sound, in a folder or zipped into the game's
// archive (.osz, .qp). Everything is written into a fresh folder beside the output first and
// moved into place at the end, so a failed export leaves nothing half-written.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AudioFile.h"
#include "GameFiles.h"
#include "io/Status.h"
#include "playback/SongTimeline.h"

enum class GameFormat { Osu, Quaver, Bms };
enum class AudioChoice { Ogg, Wav, None };

struct ExportOptions {
    GameFormat format = GameFormat::Osu;
    // Ending in .osz or .qp: that archive; anything else: a folder (made when missing).
    std::filesystem::path output;
    AudioChoice audio = AudioChoice::Ogg;
    // The song's audio without the player's notes, and each distinct sound of a player note
    // (instrument, key, velocity, length) rendered once for the notes to play when hit.
    bool keysounds = false;
    OsuSettings osu;
    std::filesystem::path soundFont;
};

// What was written: the files, in the folder or the archive.
struct ExportResult {
    std::filesystem::path output;
    std::vector<std::string> files;
};

// Exports `chart` (with `song`, its song for the audio). NoPlayerNotes for a chart without
// player notes; the render's, the encoder's or the file system's faults otherwise. `progress`
// is told the share done (0..1) and what is under way.
Status ExportChartFiles(const CChart& chart, const SongTimeline& song, const ExportOptions& options,
                        ExportResult& result, const std::function<void(double, const std::string&)>& progress = {});

// The format's chart file name for a title: "<title>.osu", ".qua" or ".bme", the title made
// safe for any file system.
std::string ChartFileName(GameFormat format, const std::string& title);
