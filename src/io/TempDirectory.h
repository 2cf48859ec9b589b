#pragma once
// A private folder for one run's temporary files ("inf.tmp", "mid.tmp", "Prefix.tmp",
// "afterfix.tmp"), made under the user's temporary folder with a fresh name and readable by
// the owner only, and removed with everything in it when the object goes away. Two running
// copies never share one.
//
// The name holds the process id ("<prefix><process>-<n>"), so that making a folder also
// removes the folders of earlier runs that were killed before they could remove their own;
// the folder of a copy that is still running is never touched.

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

    // Removes the folders named `prefix`<process>-<n> under `base` whose process is gone.
    static void RemoveAbandoned(const std::filesystem::path& base, std::string_view prefix);

  private:
    explicit TempDirectory(std::filesystem::path path) : path(std::move(path)) {}
    void Remove();

    std::filesystem::path path;
};
