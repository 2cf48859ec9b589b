#include "SmfLayout.h"

#include <algorithm>
#include <cmath>

#include "io/BoundedReader.h"
#include "io/FileBytes.h"

namespace {

bool Tagged(std::span<const uint8_t> bytes, std::size_t at, const char (&tag)[5]) {
    return bytes.size() >= at + 4 &&
           std::equal(tag, tag + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::span<const uint8_t> UnwrapRmid(std::span<const uint8_t> bytes) {
    if (!Tagged(bytes, 0, "RIFF") || !Tagged(bytes, 8, "RMID")) return bytes;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        uint32_t size = 0;
        LittleEndianReader(bytes.subspan(at + 4, 4)).ReadU32(size);
        const std::size_t body = at + 8;
        const std::size_t available = std::min<std::size_t>(size, bytes.size() - body);
        if (Tagged(bytes, at, "data")) return bytes.subspan(body, available);
        // RIFF chunks are padded to an even length.
        at = body + available + (available & 1);
    }
    return bytes;
}

Status ReadSmfLayout(std::span<const uint8_t> bytes, SmfHeader& header, std::vector<SmfTrackChunk>& tracks) {
    tracks.clear();
    header = {};
    BigEndianReader in(UnwrapRmid(bytes));
    if (!in.ReadU32(header.chunkId) || header.chunkId != kChunkMThd || !in.ReadU32(header.headerLength) ||
        header.headerLength < 6 || !in.ReadU16(header.format) || !in.ReadU16(header.trackCount) ||
        !in.ReadU16(header.division) ||
        !in.Skip(std::min<std::size_t>(header.headerLength - 6, in.Remaining())))
        return Status::Fail(ErrorCode::NotMidi);

    // Each track found costs a chunk of the file, so a header that claims more tracks than
    // the file holds allocates nothing for them.
    while (tracks.size() < header.trackCount) {
        uint32_t id = 0, length = 0;
        if (!in.ReadU32(id) || !in.ReadU32(length)) break;
        std::span<const uint8_t> body;
        in.ReadSpan(std::min<std::size_t>(length, in.Remaining()), body);
        if (id == kChunkMTrk) tracks.push_back({length, body});
    }
    if (tracks.empty()) return Status::Fail(ErrorCode::NotMidi);
    return {};
}

uint16_t TicksPerQuarter(uint16_t division) {
    if (division == 0) return kDefaultTicksPerQuarter;
    if ((division & 0x8000) == 0) return division;
    const int framesCode = -static_cast<int8_t>(division >> 8);
    const double framesPerSecond = framesCode == 29 ? 29.97 : framesCode;
    const double ticks = std::round(framesPerSecond * (division & 0xFF) / 2.0);
    return static_cast<uint16_t>(std::clamp(ticks, 1.0, 32767.0));
}

std::vector<int> TracksEndingEarly(std::span<const uint8_t> bytes) {
    SmfHeader header;
    std::vector<SmfTrackChunk> chunks;
    std::vector<int> cut;
    if (!ReadSmfLayout(bytes, header, chunks)) return cut;
    for (std::size_t i = 0; i < chunks.size(); ++i)
        if (chunks[i].body.size() < chunks[i].declaredLength) cut.push_back(static_cast<int>(i));
    return cut;
}

Status ReadSmfFileBytes(const std::filesystem::path& path, std::vector<uint8_t>& out) {
    return ReadFileBytes(path, out, kMaxSmfFileBytes);
}
