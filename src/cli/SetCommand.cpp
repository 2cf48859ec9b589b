#include "SetCommand.h"

#include "chart/ChartFile.h"
#include "chart/ChartInfo.h"
#include "chart/Genres.h"

namespace {

void SetText(const std::optional<std::string>& value, const char* name, std::string& field,
             std::ostream& err) {
    if (!value) return;
    field = *value;
    if (StorableString(field).size() < field.size())
        err << "ryxtool: " << name << " is longer than " << kMaxStoredStringBytes
            << " bytes; it is saved cut to " << StorableString(field).size() << " bytes\n";
}

}  // namespace

int RunSet(const std::filesystem::path& chartPath, const SetOptions& options,
           const std::filesystem::path& tempDir, std::ostream& err) {
    if (options.genre && (*options.genre < 0 || *options.genre >= kGenreCount)) {
        err << "ryxtool: genre must be 0 to " << kGenreCount - 1 << ", not " << *options.genre << "\n";
        return 2;
    }
    if (options.level && (*options.level < 1 || *options.level > kLevelCount)) {
        err << "ryxtool: level must be 1 to " << kLevelCount << ", not " << *options.level << "\n";
        return 2;
    }

    CChart chart;
    if (ChartStatus status = LoadChartFile(chart, chartPath, tempDir); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    CSongInfo& info = chart.songInfo;
    SetText(options.title, "title", info.title, err);
    SetText(options.composer, "composer", info.composer, err);
    SetText(options.author, "author", info.author, err);
    SetText(options.extGenre, "ext-genre", info.extGenre, err);
    if (options.genre) info.genre = static_cast<int16_t>(*options.genre);
    if (options.level) info.level = static_cast<int16_t>(*options.level - 1);

    if (ChartStatus status = SaveChartFile(chart, chartPath, tempDir); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    return 0;
}
