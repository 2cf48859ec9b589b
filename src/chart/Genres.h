#pragma once
// The genre and level vocabularies of the song information.

#include <string>
#include <string_view>

inline constexpr int kGenreCount = 10;
inline constexpr int kLevelCount = 10;

// Name of genre `code` ("Pop", "New Age", ...); empty for a code outside 0..9.
std::string_view GenreName(int code);

// The genre list's entry for `code`: the code and the name, e.g. "3 Rock".
std::string GenreListText(int code);

// The level list's entry for level index `index`: the level as the user sees it, "1".."10".
std::string LevelListText(int index);
