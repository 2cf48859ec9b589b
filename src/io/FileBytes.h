#pragma once
// Reading a whole file into memory.

#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>

#include "Status.h"

// Reads the file at `path` into `out`. OpenInput (with the system's reason) when it cannot be
// opened or read, or is a folder; FileTooLarge, before anything is read, when it holds more
// than `maxBytes` bytes. On failure `out` is empty.
Status ReadFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& out,
                     uint64_t maxBytes = std::numeric_limits<uint64_t>::max());
