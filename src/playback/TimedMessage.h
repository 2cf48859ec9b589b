#pragma once
// One MIDI message of playback at its music time, in chart ticks (kTicksPerQuarter a quarter).

#include <cstdint>
#include <vector>

inline constexpr uint8_t kTempoMessage = 0x51;  // a tempo change; `tempo` holds it
inline constexpr uint8_t kSysExMessage = 0xF0;  // system exclusive; `sysex` holds the payload

struct TimedMessage {
    int64_t tick = 0;
    uint8_t status = 0;  // a channel message 0x80..0xEF, kSysExMessage or kTempoMessage
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint32_t tempo = 0;          // microseconds per quarter note, for kTempoMessage
    std::vector<uint8_t> sysex;  // the bytes between F0 and F7, for kSysExMessage

    static TimedMessage Make(int64_t tick, uint8_t status, uint8_t data1 = 0, uint8_t data2 = 0) {
        TimedMessage m;
        m.tick = tick;
        m.status = status;
        m.data1 = data1;
        m.data2 = data2;
        return m;
    }

    bool IsNoteOn() const { return (status & 0xF0) == 0x90 && data2 != 0; }
    bool IsNoteOff() const { return (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && data2 == 0); }
};
