#pragma once
// The file operations the chart file code needs, behind an interface so tests can make any
// one of them fail. NativeFileSystem() is the real disk.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "ChartStatus.h"

class OutputFile {
  public:
    virtual ~OutputFile() = default;
    virtual bool Write(std::span<const uint8_t> bytes) = 0;
    // Pushes everything written so far to the disk itself, not just the system's cache.
    virtual bool Sync() = 0;
    virtual bool Close() = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Opens `path` for writing, truncating it; with `exclusive` fails if it already exists.
    virtual std::unique_ptr<OutputFile> Create(const std::filesystem::path& path, bool exclusive) = 0;
    // Renames `from` over `to`, replacing it in one step.
    virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual bool Remove(const std::filesystem::path& path) = 0;
    // Makes a rename inside `directory` survive a power cut (a no-op where the system has no such call).
    virtual bool SyncDirectory(const std::filesystem::path& directory) = 0;
    virtual std::optional<std::vector<uint8_t>> ReadAll(const std::filesystem::path& path) = 0;
};

FileSystem& NativeFileSystem();

// Checks a finished temporary file before it replaces the target.
using VerifyHook = std::function<ChartStatus(const std::filesystem::path& written)>;

// Whether a replaced file must survive a power cut (the user's files) or only this run
// (temporary files, which skip the costly flush to disk).
enum class Durability { Durable, ThisRunOnly };

// Writes `bytes` to a new file beside `target`, flushes it to disk when Durable, lets `verify`
// check it, renames it over `target` and flushes the folder. On any failure the new file is
// removed and `target` is left exactly as it was. Errors: CreateOutput, WriteOutput, whatever
// `verify` returns, ReplaceOutput; each names the target.
ChartStatus ReplaceFileAtomically(FileSystem& fs, const std::filesystem::path& target,
                                  std::span<const uint8_t> bytes, Durability durability,
                                  const VerifyHook& verify = {});

// The same with the file's bytes given as pieces written one after the other.
ChartStatus ReplaceFileAtomically(FileSystem& fs, const std::filesystem::path& target,
                                  std::span<const std::span<const uint8_t>> pieces, Durability durability,
                                  const VerifyHook& verify = {});

// Writes one of this run's temporary files: the old file is removed first (so a failure never
// leaves a stale one to be read, and the file system need not flush the file being replaced),
// then the new one is written beside it and renamed into place. CreateOutput, WriteOutput or
// ReplaceOutput on failure.
ChartStatus WriteTemporaryFile(FileSystem& fs, const std::filesystem::path& path,
                               std::span<const uint8_t> bytes);

// Path text of `path` (UTF-8 on every system), for messages and for paths kept as text.
std::string PathText(const std::filesystem::path& path);

// The path named by UTF-8 `text`.
std::filesystem::path PathFromText(const std::string& text);
