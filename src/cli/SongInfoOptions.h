#pragma once
// The song information options that `convert` and `set` share, and what they do to a chart.

#include <optional>
#include <ostream>
#include <string>

#include "chart/SongInfo.h"

struct SongInfoOptions {
    std::optional<std::string> title;
    std::optional<std::string> composer;
    std::optional<std::string> author;
    std::optional<std::string> extGenre;
    std::optional<int> genre;  // 0..9
    std::optional<int> level;  // 1..10, as the author sees it
};

// False, after a message on `err`, when the genre or level lies out of range.
bool ValidSongInfo(const SongInfoOptions& options, std::ostream& err);

// Sets the fields the options name; a text longer than a chart file holds is kept whole here
// and saved cut, with a warning on `err`.
void ApplySongInfo(const SongInfoOptions& options, CSongInfo& info, std::ostream& err);
