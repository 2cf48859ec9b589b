#pragma once
// The extra data of a system-exclusive or meta event read from a MIDI file, shared by the
// note records that carry it (CNote::data).

#include <cstdint>
#include <string>
#include <vector>

// Every field a meta event can carry, decoded; only the fields of its `type` are set. Data
// bytes missing from a short event read as 0.
struct CMetaEvent {
    uint32_t type = 0;
    int16_t sequenceNumber = 0;  // 0x00
    uint32_t channelPrefix = 0;  // 0x20
    uint32_t tempoUs = 0;        // 0x51, microseconds per quarter note
    uint32_t smpteFormat = 0;    // 0x54: 0 = 24, 1 = 25, 2 = 30 drop, 3 = 30 frames/s
    uint8_t smpteHour = 0, smpteMinute = 0, smpteSecond = 0, smpteFrame = 0, smpteSubframe = 0;
    uint8_t timeSigNumerator = 0;    // 0x58
    uint8_t timeSigDenominator = 0;  // the value itself (8 for x/8), not its power of two
    uint8_t timeSigClocks = 0;
    uint8_t timeSig32nds = 0;
    bool keySharps = false;  // 0x59: true for 0 or more sharps
    uint32_t keyCount = 0;   // number of sharps or flats
    uint32_t keyMinor = 0;
    std::vector<uint8_t> sequencerData;  // 0x7F, all data bytes
    std::string textValue;               // 0x01..0x07, the bytes up to the first zero byte
};

class CEventData {
  public:
    static constexpr uint8_t kSysEx = 0;
    static constexpr uint8_t kMeta = 15;

    uint8_t kind = kSysEx;
    // System exclusive: 0xF0 and the data bytes as stored (a closing 0xF7 only when stored).
    std::vector<uint8_t> raw;
    CMetaEvent meta;  // meaningful for kind kMeta
};
