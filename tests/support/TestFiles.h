#pragma once
// Small file helpers for tests: a scratch folder per test and whole-file reads and writes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "io/TempDirectory.h"

class ScratchFolder {
  public:
    ScratchFolder();
    const std::filesystem::path& Path() const { return folder->Path(); }
    std::filesystem::path operator/(const std::string& name) const { return Path() / name; }
    // Names of the files in the folder, sorted.
    std::vector<std::string> FileNames() const;

  private:
    std::optional<TempDirectory> folder;
};

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
