#include "SmfBuilder.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <tuple>

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes VarLen(uint32_t value) {
    Bytes reversed = {static_cast<uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0) reversed.push_back(static_cast<uint8_t>(0x80 | (value & 0x7F)));
    return Bytes(reversed.rbegin(), reversed.rend());
}

Bytes Ev(uint32_t delta, Bytes bytes) {
    return Join({VarLen(delta), bytes});
}

Bytes Meta(uint32_t delta, uint8_t type, Bytes data) {
    return Join({VarLen(delta), {0xFF, type}, VarLen(static_cast<uint32_t>(data.size())), data});
}

Bytes MetaText(uint32_t delta, uint8_t type, const std::string& text) {
    return Meta(delta, type, Bytes(text.begin(), text.end()));
}

Bytes EndOfTrack(uint32_t delta) {
    return Meta(delta, 0x2F, {});
}

Bytes Chunk(const char* id, const Bytes& body, int64_t declaredLength) {
    const auto length =
        static_cast<uint32_t>(declaredLength < 0 ? static_cast<int64_t>(body.size()) : declaredLength);
    Bytes out(id, id + 4);
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(length >> shift));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes Track(std::initializer_list<Bytes> events) {
    return Chunk("MTrk", Join(events));
}

Bytes Header(uint16_t format, uint16_t tracks, uint16_t division, uint32_t length) {
    Bytes body = {static_cast<uint8_t>(format >> 8),   static_cast<uint8_t>(format),
                  static_cast<uint8_t>(tracks >> 8),   static_cast<uint8_t>(tracks),
                  static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)};
    body.resize(length < 6 ? 6 : length, 0);
    return Chunk("MThd", body, length);
}

Bytes Smf(uint16_t format, uint16_t division, std::initializer_list<Bytes> tracks) {
    Bytes out = Header(format, static_cast<uint16_t>(tracks.size()), division);
    for (const Bytes& track : tracks) out.insert(out.end(), track.begin(), track.end());
    return out;
}

Bytes Rmid(const Bytes& smf) {
    auto le32 = [](uint32_t v) {
        return Bytes{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                     static_cast<uint8_t>(v >> 24)};
    };
    const Bytes info = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};  // odd size, padded
    const Bytes data = Join({{'d', 'a', 't', 'a'}, le32(static_cast<uint32_t>(smf.size())), smf});
    const Bytes body = Join({{'R', 'M', 'I', 'D'}, info, data});
    return Join({{'R', 'I', 'F', 'F'}, le32(static_cast<uint32_t>(body.size())), body});
}

Bytes Tempo(uint32_t delta, uint32_t usPerQuarter) {
    return Meta(delta, 0x51,
                {static_cast<uint8_t>(usPerQuarter >> 16), static_cast<uint8_t>(usPerQuarter >> 8),
                 static_cast<uint8_t>(usPerQuarter)});
}

Bytes BusySong(uint32_t seed, int tracks, int notesPerTrack) {
    std::mt19937 random(seed);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Bytes out = Header(1, static_cast<uint16_t>(tracks + 1), 480);
    const Bytes conductor = Join({Tempo(0, 500000), Meta(0, 0x58, {4, 2, 24, 8}), EndOfTrack()});
    out = Join({out, Chunk("MTrk", conductor)});
    for (int t = 0; t < tracks; ++t) {
        const auto channel = static_cast<uint8_t>(t == 1 ? 9 : t % 9);
        // Absolute times of note-ons and note-offs, then written as deltas in time order.
        std::vector<std::tuple<uint32_t, int, uint8_t>> events;  // time, 1 = on / 0 = off, key
        uint32_t time = 0;
        for (int n = 0; n < notesPerTrack;) {
            const int shape = pick(0, 9);
            const int chord = shape < 3 ? pick(2, 4) : 1;
            const auto root = static_cast<uint8_t>(pick(48, 72));
            for (int c = 0; c < chord && n < notesPerTrack; ++c, ++n) {
                const auto key = static_cast<uint8_t>(root + (shape == 9 ? 0 : c * pick(1, 4)));
                const auto length = static_cast<uint32_t>(pick(10, 900));
                events.emplace_back(time, 1, key);
                events.emplace_back(time + length, 0, key);
            }
            time += shape == 8 ? static_cast<uint32_t>(pick(5, 40)) : static_cast<uint32_t>(120 * pick(0, 4));
        }
        std::stable_sort(events.begin(), events.end(),
                         [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
        Bytes body = Ev(0, {static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(t * 7 % 128)});
        uint32_t last = 0;
        for (const auto& [at, on, key] : events) {
            const Bytes event = on ? Bytes{static_cast<uint8_t>(0x90 | channel), key, 100}
                                   : Bytes{static_cast<uint8_t>(0x80 | channel), key, 0};
            body = Join({body, Ev(at - last, event)});
            last = at;
        }
        out = Join({out, Chunk("MTrk", Join({body, EndOfTrack()}))});
    }
    return out;
}
