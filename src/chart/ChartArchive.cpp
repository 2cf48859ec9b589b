#include "ChartArchive.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "io/BoundedReader.h"
#include "io/ByteWriter.h"

namespace {

constexpr std::size_t kWriterEntryCount = 3;
constexpr std::size_t kNameBytes = 16;

void WriteEntry(ByteWriter& out, uint32_t offset, std::string_view name) {
    out.U32(offset);
    out.Bytes(name);
    out.Zeros(kNameBytes - name.size());
}

// The written file must read back through the reader with the writer's three entries, the
// end entry naming the file's length, and the very segments that were written.
Status VerifyArchive(const std::filesystem::path& written, std::span<const uint8_t> inf,
                     std::span<const uint8_t> mid, const std::string& where) {
    CChartArchive archive;
    if (!archive.Open(written) || archive.Entries().size() != kWriterEntryCount ||
        archive.Entries().back().offset != archive.Size() || !archive.SegmentEquals("inf", inf) ||
        !archive.SegmentEquals("mid", mid))
        return Status::Fail(ErrorCode::VerifyOutput, where);
    return {};
}

}  // namespace

bool ArchiveNamesMatch(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < 13; ++i) {
        unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        if (std::tolower(ca) != std::tolower(cb)) return false;
        if (ca == 0) return true;
    }
    return true;
}

Status WriteChartArchive(const std::filesystem::path& outputPath, const std::filesystem::path& infPath,
                         const std::filesystem::path& midiPath, FileSystem& fs) {
    try {
        std::vector<uint8_t> inf;
        if (Status status = fs.ReadAll(infPath, inf); !status)
            return Status{ErrorCode::ReadInput, PathText(infPath), {}, status.reason};
        return WriteChartArchive(outputPath, inf, midiPath, fs);
    } catch (const std::bad_alloc&) {
        return Status::Fail(ErrorCode::OutOfMemory);
    }
}

Status WriteChartArchive(const std::filesystem::path& outputPath, std::span<const uint8_t> inf,
                         const std::filesystem::path& midiPath, FileSystem& fs) {
    try {
        std::vector<uint8_t> mid;
        if (Status status = fs.ReadAll(midiPath, mid); !status)
            return Status{ErrorCode::ReadInput, PathText(midiPath), {}, status.reason};

        const std::size_t headerBytes = 4 + kWriterEntryCount * kArchiveEntryBytes;
        const std::size_t total = headerBytes + inf.size() + mid.size();
        const std::string where = PathText(outputPath);
        if (total > std::numeric_limits<uint32_t>::max())
            return Status{ErrorCode::WriteOutput, where, {}, "larger than 4 GiB"};

        ByteWriter header;
        header.U32(kWriterEntryCount);
        WriteEntry(header, static_cast<uint32_t>(headerBytes), "inf");
        WriteEntry(header, static_cast<uint32_t>(headerBytes + inf.size()), "mid");
        WriteEntry(header, static_cast<uint32_t>(total), "EOF");

        const std::span<const uint8_t> pieces[] = {header.Data(), inf, mid};
        return ReplaceFileAtomically(
            fs, outputPath, pieces, Durability::Durable,
            [&](const std::filesystem::path& written) { return VerifyArchive(written, inf, mid, where); });
    } catch (const std::bad_alloc&) {
        return Status::Fail(ErrorCode::OutOfMemory);
    }
}

Status CChartArchive::Open(const std::filesystem::path& path) {
    if (open) return Status::Fail(ErrorCode::AlreadyOpen);
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return Status::Fail(ErrorCode::ArchiveIsFolder, PathText(path));
    errno = 0;
    file.open(path, std::ios::binary);
    if (!file) {
        file.clear();
        return Status::FailWithSystemReason(ErrorCode::OpenArchive, PathText(path));
    }
    where = PathText(path);
    file.seekg(0, std::ios::end);
    std::streamoff end = file.tellg();
    size = end < 0 ? 0 : static_cast<uint64_t>(end);
    inMemory = false;
    return ReadTable();
}

Status CChartArchive::OpenBytes(std::vector<uint8_t> bytes) {
    if (open) return Status::Fail(ErrorCode::AlreadyOpen);
    memory = std::move(bytes);
    where.clear();
    size = memory.size();
    inMemory = true;
    return ReadTable();
}

Status CChartArchive::ReadTable() {
    // The failure names the file, so it is made before Close forgets which.
    auto notAnArchive = [this] {
        Status status = Status::Fail(ErrorCode::NotAnArchive, where);
        Close();
        return status;
    };
    uint8_t countBytes[4];
    if (!ReadAt(0, countBytes)) return notAnArchive();
    LittleEndianReader countReader(countBytes);
    uint32_t count = 0;
    countReader.ReadU32(count);
    // The table must fit the file before it is allocated, so a wild count costs nothing.
    if (uint64_t{count} * kArchiveEntryBytes > size - 4) return notAnArchive();
    std::vector<uint8_t> table(count * kArchiveEntryBytes);
    if (!ReadAt(4, table)) return notAnArchive();
    entries.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        LittleEndianReader in(
            std::span<const uint8_t>(table).subspan(i * kArchiveEntryBytes, kArchiveEntryBytes));
        in.ReadU32(entries[i].offset);
        std::string name;
        in.ReadString(kNameBytes, name);
        entries[i].name = name.substr(0, name.find('\0'));
    }
    open = true;
    return {};
}

bool CChartArchive::ReadAt(uint64_t offset, std::span<uint8_t> out) {
    if (offset > size || out.size() > size - offset) return false;
    if (inMemory) {
        if (!out.empty()) std::memcpy(out.data(), memory.data() + offset, out.size());
        return true;
    }
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset));
    return file.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size())).good() ||
           out.empty();
}

Status CChartArchive::FindSegment(std::string_view name, uint64_t& begin, uint64_t& end) const {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!ArchiveNamesMatch(entries[i].name, name)) continue;
        // Each failure names the entry whose offset is wrong: a segment ends where the next
        // entry starts, so an end past the file is the next entry's fault.
        if (i + 1 >= entries.size())
            return Status::Fail(ErrorCode::SegmentWithoutEnd, where, entries[i].name);
        begin = entries[i].offset;
        end = entries[i + 1].offset;
        if (begin > size) return Status::Fail(ErrorCode::SegmentPastEnd, where, entries[i].name);
        if (end > size) return Status::Fail(ErrorCode::SegmentPastEnd, where, entries[i + 1].name);
        if (begin > end) return Status::Fail(ErrorCode::SegmentsOutOfOrder, where, entries[i + 1].name);
        return {};
    }
    return Status::Fail(ErrorCode::MissingSegment, where, std::string(name));
}

Status CChartArchive::ReadSegment(std::string_view name, std::vector<uint8_t>& out) {
    uint64_t begin = 0, end = 0;
    if (Status status = FindSegment(name, begin, end); !status) return status;
    try {
        out.resize(static_cast<std::size_t>(end - begin));
    } catch (const std::bad_alloc&) {
        return Status::Fail(ErrorCode::OutOfMemory, where, std::string(name));
    }
    if (!ReadAt(begin, out)) return Status::FailWithSystemReason(ErrorCode::OpenArchive, where);
    return {};
}

bool CChartArchive::SegmentEquals(std::string_view name, std::span<const uint8_t> expected) {
    uint64_t begin = 0, end = 0;
    if (!FindSegment(name, begin, end) || end - begin != expected.size()) return false;
    std::vector<uint8_t> chunk(std::min<std::size_t>(expected.size(), 1 << 16));
    for (std::size_t done = 0; done < expected.size(); done += chunk.size()) {
        std::span<uint8_t> piece =
            std::span<uint8_t>(chunk).first(std::min(chunk.size(), expected.size() - done));
        if (!ReadAt(begin + done, piece) ||
            std::memcmp(piece.data(), expected.data() + done, piece.size()) != 0)
            return false;
    }
    return true;
}

Status CChartArchive::Extract(std::string_view name, const std::filesystem::path& outputPath,
                              FileSystem& fs) {
    std::vector<uint8_t> bytes;
    if (Status status = ReadSegment(name, bytes); !status) return status;
    Status status = ReplaceFileAtomically(fs, outputPath, bytes, Durability::ThisRunOnly);
    if (!status) return Status{ErrorCode::ExtractSegment, PathText(outputPath), {}, status.reason};
    return {};
}

void CChartArchive::Close() {
    if (file.is_open()) file.close();
    file.clear();
    memory.clear();
    memory.shrink_to_fit();
    entries.clear();
    where.clear();
    inMemory = false;
    open = false;
    size = 0;
}
