#include "SmfFile.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "EventData.h"
#include "io/PathText.h"
#include "smf/SmfLayout.h"
#include "smf/SmfTokenizer.h"

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

Status CSmfFile::Read(const std::filesystem::path& path) {
    *this = CSmfFile();
    std::vector<uint8_t> bytes;
    if (Status status = ReadSmfFileBytes(path, bytes); !status) return status;
    Status status = ReadBytes(bytes);
    if (!status) status.where = PathText(path);
    return status;
}

Status CSmfFile::ReadBytes(std::span<const uint8_t> bytes) {
    *this = CSmfFile();
    SmfHeader header;
    std::vector<SmfTrackChunk> chunks;
    if (Status status = ReadSmfLayout(bytes, header, chunks); !status) return status;
    chunkId = header.chunkId;
    headerLength = header.headerLength;
    format = header.format;
    division = header.division;
    trackCount = static_cast<uint16_t>(chunks.size());
    tracks = MakeSharedArray<CSmfTrack>(chunks.size());
    uint8_t runningStatus = 0;  // carried from track to track through the whole file
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        CSmfTrack& track = (*tracks)[i];
        track.chunkId = kChunkMTrk;
        track.chunkLength = chunks[i].declaredLength;
        if (chunks[i].body.size() < chunks[i].declaredLength) tracksEndingEarly.push_back(static_cast<int>(i));
        const std::size_t room = i == 0 ? 0 : (*tracks)[0].events->size();
        runningStatus = ReadTrack(chunks[i].body, runningStatus, room, track);
    }
    return {};
}

uint8_t CSmfFile::ReadTrack(std::span<const uint8_t> body, uint8_t runningStatus, std::size_t room,
                            CSmfTrack& track) {
    track.events = std::make_shared<std::vector<CNote>>();
    std::vector<CNote>& events = *track.events;
    // This reader ends a track at 0xF7 and reads data bytes before any status as messages of
    // status 0; an end-of-track event is kept like any other meta event.
    const SmfTokenizerOptions options{.escapedSysEx = false, .dataWithoutStatus = true};
    SmfToken token;
    // A first pass counts the events, so the list is allocated once at its exact size: a
    // large song's events are the biggest thing a conversion holds.
    std::size_t count = 0;
    for (SmfTokenizer counter(body, options, runningStatus); counter.Next(token);) ++count;
    events.reserve(count + room);
    SmfTokenizer tokens(body, options, runningStatus);
    int64_t now = 0;
    while (tokens.Next(token)) {
        CNote event;
        if (token.kind == SmfToken::Kind::Channel) {
            event.status = token.status;
            event.key = token.data1;
            event.velocity = token.data2;
        } else {
            auto data = std::make_shared<CEventData>();
            if (token.kind == SmfToken::Kind::SysEx) {
                data->kind = CEventData::kSysEx;
                data->raw.reserve(token.payload.size() + 1);
                data->raw.push_back(0xF0);
                data->raw.insert(data->raw.end(), token.payload.begin(), token.payload.end());
            } else {
                data->kind = CEventData::kMeta;
                data->meta = DecodeMeta(token.metaType, token.payload);
            }
            event.status = kExtendedStatus;
            event.data = std::move(data);
        }
        now = std::min<int64_t>(now + token.delta, std::numeric_limits<int32_t>::max());
        event.time = static_cast<int32_t>(now);
        events.push_back(std::move(event));
    }
    return tokens.RunningStatus();
}

CSharedArray<CNote> CSmfFile::TrackEvents(int n) const {
    if (!tracks || n < 0 || static_cast<std::size_t>(n) >= tracks->size()) return nullptr;
    return (*tracks)[static_cast<std::size_t>(n)].events;
}

uint16_t CSmfFile::TicksPerQuarter() const {
    return ::TicksPerQuarter(division);
}
