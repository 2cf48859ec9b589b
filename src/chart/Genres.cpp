#include "Genres.h"

#include <array>

namespace {
constexpr std::array<std::string_view, kGenreCount> kGenreNames = {
    "Pop",        "New Age", "Techno",     "Rock",      "SoundTrack",
    "Game & Ani", "Jazz",    "CenturyEnd", "Classical", "Other",
};
}  // namespace

std::string_view GenreName(int code) {
    if (code < 0 || code >= kGenreCount) return {};
    return kGenreNames[static_cast<std::size_t>(code)];
}

std::string GenreListText(int code) {
    return std::to_string(code) + " " + std::string(GenreName(code));
}

std::string LevelListText(int index) {
    return std::to_string(index + 1);
}
