#include "SmfFile.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "EventData.h"
#include "smf/BoundedReader.h"
#include "smf/FileBytes.h"
#include "smf/LibEvent.h"
#include "smf/SmfLayout.h"

namespace {

uint8_t ByteAt(std::span<const uint8_t> data, std::size_t i) {
    return i < data.size() ? data[i] : 0;
}

CMetaEvent DecodeMeta(uint8_t type, std::span<const uint8_t> d) {
    CMetaEvent meta;
    meta.type = type;
    switch (type) {
        case 0x00: meta.sequenceNumber = static_cast<int16_t>(ByteAt(d, 0) << 8 | ByteAt(d, 1)); break;
        case 0x01:
        case 0x02:
        case 0x03:
        case 0x04:
        case 0x05:
        case 0x06:
        case 0x07: {
            auto end = std::find(d.begin(), d.end(), 0);
            meta.textValue.assign(d.begin(), end);
            break;
        }
        case 0x20: meta.channelPrefix = ByteAt(d, 0); break;
        case 0x51:
            meta.tempoUs = static_cast<uint32_t>(ByteAt(d, 0)) << 16 | ByteAt(d, 1) << 8 | ByteAt(d, 2);
            break;
        case 0x54:
            meta.smpteFormat = (ByteAt(d, 0) >> 5) & 3;
            meta.smpteHour = ByteAt(d, 0) & 0x1F;
            meta.smpteMinute = ByteAt(d, 1);
            meta.smpteSecond = ByteAt(d, 2);
            meta.smpteFrame = ByteAt(d, 3);
            meta.smpteSubframe = ByteAt(d, 4);
            break;
        case 0x58:
            meta.timeSigNumerator = ByteAt(d, 0);
            meta.timeSigDenominator = static_cast<uint8_t>(1u << (ByteAt(d, 1) & 31));
            meta.timeSigClocks = ByteAt(d, 2);
            meta.timeSig32nds = ByteAt(d, 3);
            break;
        case 0x59: {
            const auto key = static_cast<int8_t>(ByteAt(d, 0));
            meta.keySharps = key >= 0;
            meta.keyCount = static_cast<uint32_t>(key < 0 ? -key : key);
            meta.keyMinor = ByteAt(d, 1);
            break;
        }
        case 0x7F: meta.sequencerData.assign(d.begin(), d.end()); break;
        default: break;
    }
    return meta;
}

}  // namespace

void CSmfFile::Read(const std::filesystem::path& path) {
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path);
    ReadBytes(bytes ? std::span<const uint8_t>(*bytes) : std::span<const uint8_t>());
}

void CSmfFile::ReadBytes(std::span<const uint8_t> bytes) {
    *this = CSmfFile();
    SmfHeader header;
    std::vector<SmfTrackChunk> chunks;
    if (!ReadSmfLayout(bytes, header, chunks)) return;
    chunkId = header.chunkId;
    headerLength = header.headerLength;
    format = header.format;
    division = header.division;
    trackCount = static_cast<uint16_t>(chunks.size());
    tracks = MakeSharedArray<CSmfTrack>(chunks.size());
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        CSmfTrack& track = (*tracks)[i];
        track.chunkId = kChunkMTrk;
        track.chunkLength = chunks[i].declaredLength;
        ReadTrack(chunks[i].body, track);
    }
}

void CSmfFile::ReadTrack(std::span<const uint8_t> body, CSmfTrack& track) {
    track.events = std::make_shared<std::vector<CNote>>();
    std::vector<CNote>& events = *track.events;
    events.reserve(body.size() / 3 + 1);
    BigEndianReader in(body);
    int64_t now = 0;

    // The track ends at the end of its chunk, at a system status other than system exclusive
    // and meta, or at the first event that does not fit in the chunk.
    while (!in.AtEnd()) {
        uint32_t delta = 0;
        uint8_t first = 0;
        if (!in.ReadVarLen(delta) || !in.Peek(first)) break;
        CNote event;
        if (first < 0xF0) {
            if (first >= 0x80) {
                runningStatus = first;
                in.ReadU8(first);
            }
            // A running status of 0 (no status seen yet) reads as a three-byte message.
            event.status = runningStatus;
            if (!in.ReadU8(event.key)) break;
            if (ChannelDataBytes(runningStatus) == 2 && !in.ReadU8(event.velocity)) break;
        } else {
            in.ReadU8(first);
            auto data = std::make_shared<CEventData>();
            std::span<const uint8_t> payload;
            uint32_t length = 0;
            if (first == 0xF0) {
                if (!in.ReadVarLen(length) || !in.ReadSpan(length, payload)) break;
                data->kind = CEventData::kSysEx;
                data->raw.reserve(payload.size() + 1);
                data->raw.push_back(0xF0);
                data->raw.insert(data->raw.end(), payload.begin(), payload.end());
            } else if (first == 0xFF) {
                uint8_t type = 0;
                if (!in.ReadU8(type) || !in.ReadVarLen(length) || !in.ReadSpan(length, payload)) break;
                data->kind = CEventData::kMeta;
                data->meta = DecodeMeta(type, payload);
            } else {
                break;
            }
            event.status = kExtendedStatus;
            event.data = std::move(data);
        }
        now = std::min<int64_t>(now + delta, std::numeric_limits<int32_t>::max());
        event.time = static_cast<int32_t>(now);
        events.push_back(std::move(event));
    }
}

CSharedArray<CNote> CSmfFile::TrackEvents(int n) const {
    if (!tracks || n < 0 || static_cast<std::size_t>(n) >= tracks->size()) return nullptr;
    return (*tracks)[static_cast<std::size_t>(n)].events;
}

uint16_t CSmfFile::TicksPerQuarter() const {
    return ::TicksPerQuarter(division);
}
