#include "TempDirectory.h"

#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "PathText.h"
#include "Process.h"

std::optional<TempDirectory> TempDirectory::Create(std::string_view prefix) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    if (error) return std::nullopt;
    RemoveAbandoned(base, prefix);
    std::random_device seed;
    const std::string stem = std::string(prefix) + std::to_string(CurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path candidate = base / (stem + std::to_string(seed()));
        // create_directory reports false for a folder that already exists, so a name in use
        // by another run is never taken over.
        if (fs::create_directory(candidate, error)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
            return TempDirectory(candidate);
        }
    }
    return std::nullopt;
}

void TempDirectory::RemoveAbandoned(const std::filesystem::path& base, std::string_view prefix) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<fs::path> abandoned;
    for (fs::directory_iterator it(base, error), end; !error && it != end; it.increment(error)) {
        const std::string name = PathText(it->path().filename());
        std::error_code kind;
        if (it->is_directory(kind) && !it->is_symlink(kind) && LeftByEndedProcess(name, prefix))
            abandoned.push_back(it->path());
    }
    for (const fs::path& folder : abandoned) fs::remove_all(folder, error);
}

TempDirectory::TempDirectory(TempDirectory&& other) noexcept : path(std::move(other.path)) {
    other.path.clear();
}

TempDirectory& TempDirectory::operator=(TempDirectory&& other) noexcept {
    if (this != &other) {
        Remove();
        path = std::move(other.path);
        other.path.clear();
    }
    return *this;
}

TempDirectory::~TempDirectory() {
    Remove();
}

void TempDirectory::Remove() {
    if (path.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(path, error);
    path.clear();
}
