#include "LibTrackCodec.h"

#include <algorithm>
#include <limits>

#include "BoundedReader.h"
#include "SmfLayout.h"

namespace {

constexpr uint8_t kMetaTrackName = 0x03;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaTempo = 0x51;

uint32_t ClampDelta(uint64_t delta) {
    return static_cast<uint32_t>(std::min<uint64_t>(delta, std::numeric_limits<uint32_t>::max()));
}

void PutVarLen(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t bytes[5];
    int n = 0;
    bytes[n++] = static_cast<uint8_t>(value & 0x7F);
    while ((value >>= 7) != 0) bytes[n++] = static_cast<uint8_t>(0x80 | (value & 0x7F));
    while (n > 0) out.push_back(bytes[--n]);
}

// Variable-length quantities hold at most 28 bits; longer gaps are bridged with empty
// text events, which every reader skips.
void PutDelta(std::vector<uint8_t>& out, uint64_t delta) {
    constexpr uint64_t kMax = 0x0FFFFFFF;
    while (delta > kMax) {
        PutVarLen(out, kMax);
        out.insert(out.end(), {0xFF, 0x01, 0x00});
        delta -= kMax;
    }
    PutVarLen(out, static_cast<uint32_t>(delta));
}

void PutMeta(std::vector<uint8_t>& out, uint8_t type, std::span<const uint8_t> data) {
    out.push_back(0xFF);
    out.push_back(type);
    PutVarLen(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

}  // namespace

void ReadLibTrackChunk(std::span<const uint8_t> body, CLibTrack& track) {
    BigEndianReader in(body);
    uint8_t runningStatus = 0;
    uint64_t now = 0;
    uint64_t lastEvent = 0;  // absolute time of the last event put into the stream

    while (!in.AtEnd()) {
        uint32_t delta = 0;
        uint8_t first = 0;
        if (!in.ReadVarLen(delta) || !in.Peek(first)) break;
        now += delta;

        if (first < 0xF0) {
            if (first >= 0x80) {
                runningStatus = first;
                in.ReadU8(first);
            } else if (runningStatus == 0) {
                break;
            }
            LibEvent event{ClampDelta(now - lastEvent), runningStatus, 0, 0, 0};
            if (!in.ReadU8(event.data1)) break;
            if (ChannelDataBytes(runningStatus) == 2 && !in.ReadU8(event.data2)) break;
            track.ReserveFree(1);
            track.Insert(event);
            lastEvent = now;
            continue;
        }

        in.ReadU8(first);
        if (first == 0xF0 || first == 0xF7) {
            uint32_t length = 0;
            std::span<const uint8_t> data;
            if (!in.ReadVarLen(length) || !in.ReadSpan(length, data)) break;
            track.ReserveFree(1);
            track.AppendSysEx(ClampDelta(now - lastEvent), {first == 0xF7, {data.begin(), data.end()}});
            lastEvent = now;
            continue;
        }
        if (first != 0xFF) break;

        uint8_t type = 0;
        uint32_t length = 0;
        std::span<const uint8_t> data;
        if (!in.ReadU8(type) || !in.ReadVarLen(length) || !in.ReadSpan(length, data)) break;
        if (type == kMetaEndOfTrack) {
            track.endTime = std::max(track.endTime, now);
            break;
        }
        if (type == kMetaTempo && data.size() == 3) {
            track.ReserveFree(1);
            track.Insert(LibEvent{ClampDelta(now - lastEvent), kTempoStatus, data[0], data[1], data[2]});
            lastEvent = now;
        } else if (type == kMetaTrackName && track.Name().empty()) {
            // The first name that says something names the track; an empty one says nothing.
            track.SetName(std::string(data.begin(), data.end()));
        } else {
            track.metas.push_back({now, type, {data.begin(), data.end()}});
        }
    }
    track.endTime = std::max(track.endTime, now);
    track.cursor = 0;
}

void WriteLibTrackChunk(const CLibTrack& track, std::vector<uint8_t>& out) {
    const std::size_t start = out.size();
    out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
    out.reserve(out.size() +
                static_cast<std::size_t>(track.Count() - std::min(track.cursor, track.Count())) * 4);

    uint64_t written = 0;  // absolute time of the last event written
    if (!track.Name().empty()) {
        PutVarLen(out, 0);
        PutMeta(out, kMetaTrackName,
                {reinterpret_cast<const uint8_t*>(track.Name().data()), track.Name().size()});
    }

    auto meta = track.metas.begin();
    auto writeMetasUpTo = [&](uint64_t time) {
        for (; meta != track.metas.end() && meta->time <= time; ++meta) {
            const uint64_t at = std::max(meta->time, written);
            PutDelta(out, at - written);
            PutMeta(out, meta->type, meta->data);
            written = at;
        }
    };

    uint64_t now = 0;
    for (uint32_t i = track.cursor; i < track.Count(); ++i) {
        const LibEvent event = track.Event(i);
        now += event.delta;
        const bool channel = event.status >= 0x80 && event.status < 0xF0;
        const SysExPayload* payload = track.PayloadOf(event);
        if (!channel && event.status != kTempoStatus && !payload) continue;

        writeMetasUpTo(now);
        PutDelta(out, now - written);
        written = now;
        if (channel) {
            out.push_back(event.status);
            out.push_back(event.data1);
            if (ChannelDataBytes(event.status) == 2) out.push_back(event.data2);
        } else if (event.status == kTempoStatus) {
            const uint8_t tempo[3] = {event.data1, event.data2, event.data3};
            PutMeta(out, kMetaTempo, tempo);
        } else {
            out.push_back(payload->escaped ? 0xF7 : 0xF0);
            PutVarLen(out, static_cast<uint32_t>(payload->bytes.size()));
            out.insert(out.end(), payload->bytes.begin(), payload->bytes.end());
        }
    }
    writeMetasUpTo(std::numeric_limits<uint64_t>::max());
    PutDelta(out, std::max(track.endTime, written) - written);
    PutMeta(out, kMetaEndOfTrack, {});

    const auto length = static_cast<uint32_t>(out.size() - start - 8);
    for (int i = 0; i < 4; ++i)
        out[start + 4 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(length >> (24 - 8 * i));
}
