#include "FileSystem.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <system_error>

#include "smf/FileBytes.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
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

    std::optional<std::vector<uint8_t>> ReadAll(const std::filesystem::path& path) override {
        return ReadFileBytes(path);
    }
};

// A name for the temporary file beside the target that no other save uses at the same time.
std::filesystem::path SiblingName(const std::filesystem::path& target, unsigned salt) {
    std::filesystem::path name = target;
    name += ".saving-" + std::to_string(salt);
    return name;
}

}  // namespace

FileSystem& NativeFileSystem() {
    static NativeFs fs;
    return fs;
}

std::string PathText(const std::filesystem::path& path) {
    auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromText(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

ChartStatus WriteTemporaryFile(FileSystem& fs, const std::filesystem::path& path,
                               std::span<const uint8_t> bytes) {
    fs.Remove(path);
    return ReplaceFileAtomically(fs, path, bytes, Durability::ThisRunOnly);
}

ChartStatus ReplaceFileAtomically(FileSystem& fs, const std::filesystem::path& target,
                                  std::span<const uint8_t> bytes, Durability durability,
                                  const VerifyHook& verify) {
    const std::span<const uint8_t> pieces[] = {bytes};
    return ReplaceFileAtomically(fs, target, pieces, durability, verify);
}

ChartStatus ReplaceFileAtomically(FileSystem& fs, const std::filesystem::path& target,
                                  std::span<const std::span<const uint8_t>> pieces, Durability durability,
                                  const VerifyHook& verify) {
    const bool durable = durability == Durability::Durable;
    const std::string where = PathText(target);
    std::random_device seed;
    std::filesystem::path temp;
    std::unique_ptr<OutputFile> file;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temp = SiblingName(target, seed() % 1000000000u);
        file = fs.Create(temp, /*exclusive=*/true);
    }
    if (!file) return ChartStatus::Fail(ChartError::CreateOutput, where);

    auto fail = [&](ChartStatus status) {
        file.reset();
        fs.Remove(temp);
        return status;
    };

    constexpr std::size_t kChunk = 16384;
    for (std::span<const uint8_t> bytes : pieces) {
        for (std::size_t done = 0; done < bytes.size(); done += kChunk) {
            if (!file->Write(bytes.subspan(done, std::min(kChunk, bytes.size() - done))))
                return fail(ChartStatus::Fail(ChartError::WriteOutput, where));
        }
    }
    if ((durable && !file->Sync()) || !file->Close())
        return fail(ChartStatus::Fail(ChartError::WriteOutput, where));
    if (verify) {
        if (ChartStatus status = verify(temp); !status) return fail(status);
    }
    if (!fs.Rename(temp, target)) return fail(ChartStatus::Fail(ChartError::ReplaceOutput, where));
    // The new file is in place; a folder that cannot be flushed only weakens the guarantee
    // against a power cut, so it does not turn a finished save into a failure.
    if (durable) fs.SyncDirectory(target.parent_path());
    return {};
}
