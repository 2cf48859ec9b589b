#include "LibTrackCodec.h"

#include <algorithm>
#include <limits>

#include "SmfLayout.h"
#include "SmfTokenizer.h"
#include "io/Clamp.h"

namespace {

constexpr uint8_t kMetaTrackName = 0x03;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaTempo = 0x51;

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
    SmfTokenizer tokens(body, {.escapedSysEx = true, .dataWithoutStatus = false});
    SmfToken token;
    uint64_t now = 0;
    uint64_t lastEvent = 0;  // absolute time of the last event put into the stream
    auto nextDelta = [&] {
        const uint32_t delta = ClampToU32(now - lastEvent);
        lastEvent = now;
        return delta;
    };

    while (tokens.Next(token)) {
        now += token.delta;
        const std::span<const uint8_t> data = token.payload;
        if (token.kind == SmfToken::Kind::Channel) {
            track.ReserveFree(1);
            track.Insert(LibEvent{nextDelta(), token.status, token.data1, token.data2, 0});
        } else if (token.kind == SmfToken::Kind::SysEx) {
            track.ReserveFree(1);
            track.AppendSysEx(nextDelta(), {token.status == 0xF7, {data.begin(), data.end()}});
        } else if (token.metaType == kMetaEndOfTrack) {
            break;
        } else if (token.metaType == kMetaTempo && data.size() == 3) {
            track.ReserveFree(1);
            track.Insert(
                MakeTempoEvent(nextDelta(), static_cast<uint32_t>(data[0]) << 16 | data[1] << 8 | data[2]));
        } else if (token.metaType == kMetaTrackName && track.Name().empty()) {
            // The first name that says something names the track; an empty one says nothing.
            track.SetName(std::string(data.begin(), data.end()));
        } else {
            track.metas.push_back({now, token.metaType, {data.begin(), data.end()}});
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
