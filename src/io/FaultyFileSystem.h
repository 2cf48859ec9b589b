#pragma once
// The real file system with one chosen operation made to fail, for tests and fuzzing of what
// a failed save leaves behind.

#include <cstddef>

#include "FileSystem.h"

class FaultyFileSystem : public FileSystem {
  public:
    enum class Fault {
        None,
        CreateFails,      // Create() refuses every file
        WriteFailsAfter,  // the write that would pass `limit` bytes writes up to it, then fails
        CorruptsByte,     // writes succeed but byte `limit` of the file is flipped
        SyncFails,
        RenameFails,
    };

    explicit FaultyFileSystem(Fault fault, std::size_t limit = 0) : fault(fault), limit(limit) {}

    std::unique_ptr<OutputFile> Create(const std::filesystem::path& path, bool exclusive) override;
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    bool Remove(const std::filesystem::path& path) override { return NativeFileSystem().Remove(path); }
    bool SyncDirectory(const std::filesystem::path& directory) override {
        return NativeFileSystem().SyncDirectory(directory);
    }
    void CopyAttributes(const std::filesystem::path& from, const std::filesystem::path& to) override {
        NativeFileSystem().CopyAttributes(from, to);
    }
    Status ReadAll(const std::filesystem::path& path, std::vector<uint8_t>& out) override {
        return NativeFileSystem().ReadAll(path, out);
    }

    // Only files whose name contains this text are affected (all files when empty).
    std::string onlyNamesContaining;

  private:
    bool Affects(const std::filesystem::path& path) const;

    Fault fault;
    std::size_t limit;
};
