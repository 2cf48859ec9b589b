#pragma once
// Whole-file reads and writes.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// The file's bytes, or nullopt when it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path);

// Creates or truncates `path` and writes `bytes`; false when any step fails.
bool WriteFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);
