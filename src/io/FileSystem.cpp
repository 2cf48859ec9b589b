#include "FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#include "FileBytes.h"
#include "Process.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

class NativeOutputFile final : public OutputFile {
  public:
    explicit NativeOutputFile(std::FILE* file) : file(file) {}
    ~NativeOutputFile() override {
        if (file) std::fclose(file);
    }

    bool Write(std::span<const uint8_t> bytes) override {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }

    bool Sync() override {
        if (std::fflush(file) != 0) return false;
#ifdef _WIN32
        return _commit(_fileno(file)) == 0;
#else
        return fsync(fileno(file)) == 0;
#endif
    }

    bool Close() override {
        int result = std::fclose(file);
        file = nullptr;
        return result == 0;
    }

  private:
    std::FILE* file;
};

class NativeFs final : public FileSystem {
  public:
    std::unique_ptr<OutputFile> Create(const std::filesystem::path& path, bool exclusive) override {
#ifdef _WIN32
        std::FILE* file = _wfopen(path.c_str(), exclusive ? L"wbx" : L"wb");
#else
        std::FILE* file = std::fopen(path.c_str(), exclusive ? "wbx" : "wb");
#endif
        if (!file) return nullptr;
        return std::make_unique<NativeOutputFile>(file);
    }

    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        std::error_code error;
        std::filesystem::rename(from, to, error);
        if (error) errno = error.value();
        return !error;
    }

    bool Remove(const std::filesystem::path& path) override {
        std::error_code error;
        return std::filesystem::remove(path, error);
    }

    bool SyncDirectory(const std::filesystem::path& directory) override {
#ifdef _WIN32
        (void)directory;
        return true;
#else
        int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return false;
        bool ok = fsync(fd) == 0;
        close(fd);
        return ok;
#endif
    }

    void CopyAttributes(const std::filesystem::path& from, const std::filesystem::path& to) override {
        const int saved = errno;
#ifdef _WIN32
        std::error_code error;
        std::filesystem::permissions(to, std::filesystem::status(from, error).permissions(), error);
#else
        struct stat info {};
        if (stat(from.c_str(), &info) == 0) {
            // The owner first: changing it may clear set-id bits, which the mode then restores.
            if (chown(to.c_str(), info.st_uid, info.st_gid) != 0) (void)chown(to.c_str(), -1, info.st_gid);
            (void)chmod(to.c_str(), info.st_mode & 07777);
        }
#endif
        errno = saved;
    }

    Status ReadAll(const std::filesystem::path& path, std::vector<uint8_t>& out) override {
        return ReadFileBytes(path, out);
    }
};

constexpr std::string_view kSavingInfix = ".saving-";

// A name for the new file beside the target: this process's id, so a run that finds the file
// later can tell whether its writer is gone, and a number no other save uses at the same time.
std::filesystem::path SiblingName(const std::filesystem::path& target, unsigned salt) {
    std::filesystem::path name = target;
    name += std::string(kSavingInfix) + std::to_string(CurrentProcessId()) + "-" + std::to_string(salt);
    return name;
}

// Removes the new files of earlier saves of `target` whose process is gone (a save that was
// killed before its rename). Files of saves that may still be running are left alone.
void RemoveStaleSiblings(FileSystem& fs, const std::filesystem::path& target) {
    const std::string prefix = PathText(target.filename()) + std::string(kSavingInfix);
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::error_code error;
    std::vector<std::filesystem::path> stale;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = PathText(it->path().filename());
        if (LeftByEndedProcess(name, prefix)) stale.push_back(it->path());
    }
    for (const std::filesystem::path& path : stale) fs.Remove(path);
}

// The file a save must replace: the target itself, or the file its symbolic links lead to.
std::filesystem::path ResolveTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) return target;
    const std::filesystem::path real = std::filesystem::weakly_canonical(target, error);
    return error ? target : real;
}

// Whether this user may write the existing file `path`. The system's own answer, except for the
// administrator, whom the system lets write anything: a file nobody may write is read-only to
// the administrator too, as a careful editor treats it.
bool MayWrite(const std::filesystem::path& path) {
#ifdef _WIN32
    std::error_code error;
    const auto permissions = std::filesystem::status(path, error).permissions();
    return error || (permissions & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
#else
    if (geteuid() == 0) {
        struct stat info {};
        return stat(path.c_str(), &info) != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    }
    return access(path.c_str(), W_OK) == 0 || errno == ENOENT;
#endif
}

// Writes straight into a device or pipe that stands where the output goes.
Status WriteInPlace(FileSystem& fs, const std::filesystem::path& target,
                    std::span<const std::span<const uint8_t>> pieces, const std::string& where) {
    errno = 0;
    std::unique_ptr<OutputFile> file = fs.Create(target, /*exclusive=*/false);
    if (!file) return Status::FailWithSystemReason(ErrorCode::CreateOutput, where);
    for (std::span<const uint8_t> bytes : pieces)
        if (!file->Write(bytes)) return Status::FailWithSystemReason(ErrorCode::WriteOutput, where);
    if (!file->Close()) return Status::FailWithSystemReason(ErrorCode::WriteOutput, where);
    return {};
}

}  // namespace

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
    std::error_code error;
    FileStamp stamp;
    stamp.modified = std::filesystem::last_write_time(path, error);
    if (!error) stamp.size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    return stamp;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

FileSystem& NativeFileSystem() {
    static NativeFs fs;
    return fs;
}

Status WriteTemporaryFile(FileSystem& fs, const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    fs.Remove(path);
    return ReplaceFileAtomically(fs, path, bytes, Durability::ThisRunOnly);
}

Status SaveFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes) {
    return ReplaceFileAtomically(NativeFileSystem(), target, bytes, Durability::Durable);
}

Status ReplaceFileAtomically(FileSystem& fs, const std::filesystem::path& target,
                             std::span<const uint8_t> bytes, Durability durability,
                             const VerifyHook& verify) {
    const std::span<const uint8_t> pieces[] = {bytes};
    return ReplaceFileAtomically(fs, target, pieces, durability, verify);
}

Status ReplaceFileAtomically(FileSystem& fs, const std::filesystem::path& requested,
                             std::span<const std::span<const uint8_t>> pieces, Durability durability,
                             const VerifyHook& verify) {
    const bool durable = durability == Durability::Durable;
    const std::string where = PathText(requested);
    const std::filesystem::path target = ResolveTarget(requested);
    if (durable) {
        std::error_code error;
        const std::filesystem::file_status existing = std::filesystem::status(target, error);
        if (std::filesystem::is_character_file(existing) || std::filesystem::is_fifo(existing))
            return WriteInPlace(fs, target, pieces, where);
        if (std::filesystem::exists(existing) && !std::filesystem::is_regular_file(existing))
            return Status::Fail(ErrorCode::OutputNotAFile, where);
        if (std::filesystem::exists(existing) && !MayWrite(target))
            return Status::Fail(ErrorCode::ReadOnlyOutput, where);
    }
    RemoveStaleSiblings(fs, target);

    std::random_device seed;
    std::filesystem::path temp;
    std::unique_ptr<OutputFile> file;
    errno = 0;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temp = SiblingName(target, seed() % 1000000000u);
        file = fs.Create(temp, /*exclusive=*/true);
        if (!file && errno != EEXIST) break;
    }
    if (!file) return Status::FailWithSystemReason(ErrorCode::CreateOutput, where);

    auto fail = [&](ErrorCode code) {
        Status status = Status::FailWithSystemReason(code, where);
        file.reset();
        fs.Remove(temp);
        return status;
    };

    constexpr std::size_t kChunk = 16384;
    errno = 0;
    for (std::span<const uint8_t> bytes : pieces) {
        for (std::size_t done = 0; done < bytes.size(); done += kChunk) {
            if (!file->Write(bytes.subspan(done, std::min(kChunk, bytes.size() - done))))
                return fail(ErrorCode::WriteOutput);
        }
    }
    if ((durable && !file->Sync()) || !file->Close()) return fail(ErrorCode::WriteOutput);
    std::error_code error;
    if (std::filesystem::exists(target, error)) fs.CopyAttributes(target, temp);
    if (verify) {
        if (Status status = verify(temp); !status) {
            file.reset();
            fs.Remove(temp);
            return status;
        }
    }
    errno = 0;
    if (!fs.Rename(temp, target)) return fail(ErrorCode::ReplaceOutput);
    // The new file is in place; a folder that cannot be flushed only weakens the guarantee
    // against a power cut, so it does not turn a finished save into a failure.
    if (durable) fs.SyncDirectory(target.parent_path());
    return {};
}
