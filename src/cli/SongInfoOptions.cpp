#include "SongInfoOptions.h"

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

bool ValidSongInfo(const SongInfoOptions& options, std::ostream& err) {
    if (options.genre && (*options.genre < 0 || *options.genre >= kGenreCount)) {
        err << "ryxtool: genre must be 0 to " << kGenreCount - 1 << ", not " << *options.genre << "\n";
        return false;
    }
    if (options.level && (*options.level < 1 || *options.level > kLevelCount)) {
        err << "ryxtool: level must be 1 to " << kLevelCount << ", not " << *options.level << "\n";
        return false;
    }
    return true;
}

void ApplySongInfo(const SongInfoOptions& options, CSongInfo& info, std::ostream& err) {
    SetText(options.title, "title", info.title, err);
    SetText(options.composer, "composer", info.composer, err);
    SetText(options.author, "author", info.author, err);
    SetText(options.extGenre, "ext-genre", info.extGenre, err);
    if (options.genre) info.genre = static_cast<int16_t>(*options.genre);
    if (options.level) info.level = static_cast<int16_t>(*options.level - 1);
}
