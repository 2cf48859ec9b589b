#pragma once
// `ryxtool export FILE.ryx --to osu|quaver|bms -o OUT [--audio ogg|wav|none] [--keysounds]
// [--od N] [--hp N]`: the chart for an open seven-key game, with its song's audio.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

struct ExportCommandOptions {
    std::filesystem::path chart;
    std::filesystem::path output;  // .osz or .qp: the archive; else a folder
    std::string to;                // osu, quaver or bms
    std::string audio = "ogg";     // ogg, wav or none
    bool keysounds = false;
    double od = 8;  // osu!'s OverallDifficulty
    double hp = 8;  // osu!'s HPDrainRate
    std::optional<std::filesystem::path> soundFont;
};

// 0 after naming what was written; 2 with one message for a bad option, a chart that cannot be
// read or has no player notes, or an output that cannot be written (nothing half-written).
int RunExport(const ExportCommandOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
              std::ostream& err);
