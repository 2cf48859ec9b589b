#include "TempDirectory.h"

#include <random>
#include <string>
#include <system_error>

std::optional<TempDirectory> TempDirectory::Create(std::string_view prefix) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    if (error) return std::nullopt;
    std::random_device seed;
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path candidate = base / (std::string(prefix) + std::to_string(seed()));
        // create_directory reports false for a folder that already exists, so a name in use
        // by another run is never taken over.
        if (fs::create_directory(candidate, error)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
            return TempDirectory(candidate);
        }
    }
    return std::nullopt;
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
