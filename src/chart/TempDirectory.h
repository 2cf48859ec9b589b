#pragma once
// A private folder for one run's temporary files ("inf.tmp", "mid.tmp", ...), made under the
// user's temporary folder with a fresh name and readable by the owner only, and removed with
// everything in it when the object goes away. Two running copies never share one.

#include <filesystem>
#include <optional>
#include <string_view>

class TempDirectory {
  public:
    // Makes the folder; nullopt when the system's temporary folder is not writable.
    static std::optional<TempDirectory> Create(std::string_view prefix = "ryx-");

    TempDirectory(TempDirectory&& other) noexcept;
    TempDirectory& operator=(TempDirectory&& other) noexcept;
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    ~TempDirectory();

    const std::filesystem::path& Path() const { return path; }

  private:
    explicit TempDirectory(std::filesystem::path path) : path(std::move(path)) {}
    void Remove();

    std::filesystem::path path;
};
