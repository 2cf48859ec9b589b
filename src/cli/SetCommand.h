#pragma once
// `ryxtool set FILE.ryx [--title T] ...`: changes the named song information fields of a
// chart file and saves it in place through the editor's save path.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

struct SetOptions {
    std::optional<std::string> title;
    std::optional<std::string> composer;
    std::optional<std::string> author;
    std::optional<std::string> extGenre;
    std::optional<int> genre;  // 0..9
    std::optional<int> level;  // 1..10, as the user sees it
};

// Returns the process exit code: 0, or 2 after a message on `err` (a value out of range, a
// file that cannot be read or saved); on failure the file is untouched.
int RunSet(const std::filesystem::path& chartPath, const SetOptions& options,
           const std::filesystem::path& tempDir, std::ostream& err);
