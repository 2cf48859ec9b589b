#include "FaultyFileSystem.h"

#include <algorithm>
#include <vector>

namespace {

class FaultyOutputFile final : public OutputFile {
  public:
    FaultyOutputFile(std::unique_ptr<OutputFile> inner, FaultyFileSystem::Fault fault, std::size_t limit)
        : inner(std::move(inner)), fault(fault), limit(limit) {}

    bool Write(std::span<const uint8_t> bytes) override {
        using Fault = FaultyFileSystem::Fault;
        if (fault == Fault::WriteFailsAfter && written + bytes.size() > limit) {
            std::size_t room = limit > written ? limit - written : 0;
            inner->Write(bytes.first(room));
            written += room;
            return false;
        }
        if (fault == Fault::CorruptsByte && limit >= written && limit < written + bytes.size()) {
            std::vector<uint8_t> copy(bytes.begin(), bytes.end());
            copy[limit - written] ^= 0xFF;
            written += bytes.size();
            return inner->Write(copy);
        }
        written += bytes.size();
        return inner->Write(bytes);
    }

    bool Sync() override { return fault != FaultyFileSystem::Fault::SyncFails && inner->Sync(); }
    bool Close() override { return inner->Close(); }

  private:
    std::unique_ptr<OutputFile> inner;
    FaultyFileSystem::Fault fault;
    std::size_t limit;
    std::size_t written = 0;
};

}  // namespace

bool FaultyFileSystem::Affects(const std::filesystem::path& path) const {
    return onlyNamesContaining.empty() ||
           path.filename().string().find(onlyNamesContaining) != std::string::npos;
}

std::unique_ptr<OutputFile> FaultyFileSystem::Create(const std::filesystem::path& path, bool exclusive) {
    bool affected = Affects(path);
    if (affected && fault == Fault::CreateFails) return nullptr;
    std::unique_ptr<OutputFile> file = NativeFileSystem().Create(path, exclusive);
    if (!file || !affected) return file;
    return std::make_unique<FaultyOutputFile>(std::move(file), fault, limit);
}

bool FaultyFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (fault == Fault::RenameFails && Affects(to)) return false;
    return NativeFileSystem().Rename(from, to);
}
