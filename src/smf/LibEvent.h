#pragma once
// The 8-byte library event: the unit in which song tracks are read, repaired and written.

#include <cstdint>

struct LibEvent {
    uint32_t delta = 0;  // ticks since the previous event of the same track
    uint8_t status = 0;  // kTempoStatus, a channel message 0x80..0xEF, or kSysExStatus
    uint8_t data1 = 0;   // tempo: microseconds per quarter note, most significant byte first;
    uint8_t data2 = 0;   // system exclusive: index of the payload in the track's table,
    uint8_t data3 = 0;   // most significant byte first; channel messages: the data bytes

    bool operator==(const LibEvent&) const = default;
};
static_assert(sizeof(LibEvent) == 8, "library events are 8 bytes");

inline constexpr uint8_t kTempoStatus = 0x00;
inline constexpr uint8_t kSysExStatus = 0xF0;

// The three data bytes as one 24-bit number (the tempo, or a system-exclusive payload index).
inline uint32_t LibEventValue(const LibEvent& e) {
    return static_cast<uint32_t>(e.data1) << 16 | static_cast<uint32_t>(e.data2) << 8 | e.data3;
}

inline LibEvent MakeTempoEvent(uint32_t delta, uint32_t microsecondsPerQuarter) {
    return {delta, kTempoStatus, static_cast<uint8_t>(microsecondsPerQuarter >> 16),
            static_cast<uint8_t>(microsecondsPerQuarter >> 8), static_cast<uint8_t>(microsecondsPerQuarter)};
}

// Number of data bytes of a channel message with this status (1 for 0xCn and 0xDn, else 2).
inline int ChannelDataBytes(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}
