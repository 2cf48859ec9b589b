#pragma once
// The file operations behind every save, behind an interface so tests can make any one of
// them fail (FaultyFileSystem). NativeFileSystem() is the real disk. Every call reports
// failure with the system's reason left in errno, which Status::FailWithSystemReason reads.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "PathText.h"
#include "Status.h"

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
    // Gives `to` the permissions, and where the system allows it the owner and group, of
    // `from`. Best effort: a file that cannot take them keeps its own.
    virtual void CopyAttributes(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual Status ReadAll(const std::filesystem::path& path, std::vector<uint8_t>& out) = 0;
};

FileSystem& NativeFileSystem();

// Checks a finished temporary file before it replaces the target.
using VerifyHook = std::function<Status(const std::filesystem::path& written)>;

// Whether a replaced file must survive a power cut (the user's files) or only this run
// (temporary files, which skip the costly flush to disk).
enum class Durability { Durable, ThisRunOnly };

// Writes `pieces`, one after the other, to a new file beside `target`, gives it the
// permissions of the file it replaces, flushes it to disk when Durable, lets `verify` check
// it, renames it over `target` and flushes the folder. A `target` that is a symbolic link is
// followed: the file it names is replaced and the link stays. On any failure the new file is
// removed and the file replaced is left exactly as it was. Errors: CreateOutput, WriteOutput,
// whatever `verify` returns, ReplaceOutput; each names the target and the system's reason.
//
// A Durable save never renames over anything but a regular file and never replaces a file the
// user may not write: an existing device or pipe (/dev/null) is written in place, without
// `verify`; another kind of file is refused with OutputNotAFile; a read-only file with
// ReadOnlyOutput, before anything is written.
//
// The new file's name is "<target>.saving-<process>-<n>"; such files left by a run that was
// killed during a save are removed by the next save of the same target.
Status ReplaceFileAtomically(FileSystem& fs, const std::filesystem::path& target,
                             std::span<const std::span<const uint8_t>> pieces, Durability durability,
                             const VerifyHook& verify = {});

// The same for one piece.
Status ReplaceFileAtomically(FileSystem& fs, const std::filesystem::path& target,
                             std::span<const uint8_t> bytes, Durability durability,
                             const VerifyHook& verify = {});

// What tells whether a file changed since it was last read or written: its modification time
// and size. Empty for a file that is not there.
struct FileStamp {
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

// True when `a` and `b` name the same existing file, through links too.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Saves a user's file (a picture, a song) on the real disk: Durable, no verification.
Status SaveFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes);

// Writes one of this run's temporary files: the old file is removed first (so a failure never
// leaves a stale one to be read, and the file system need not flush the file being replaced),
// then the new one is written beside it and renamed into place.
Status WriteTemporaryFile(FileSystem& fs, const std::filesystem::path& path, std::span<const uint8_t> bytes);
