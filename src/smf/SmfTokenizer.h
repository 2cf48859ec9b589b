#pragma once
// SmfTokenizer: the one decoder of a track chunk's event stream, shared by the library layer's
// reader and the program's own MIDI file reader. It reads delta times, applies running status
// and cuts out system-exclusive and meta payloads; what an event means is the reader's.

#include <cstdint>
#include <span>

#include "LibEvent.h"
#include "io/BoundedReader.h"

struct SmfToken {
    enum class Kind { Channel, SysEx, Meta };
    Kind kind = Kind::Channel;
    uint32_t delta = 0;  // file ticks since the previous event of the chunk
    // Channel: the status in force (running status applied); system exclusive: 0xF0, or 0xF7
    // for an "escape" event; meta: 0xFF.
    uint8_t status = 0;
    uint8_t data1 = 0;  // channel data bytes; data2 is 0 for one-byte messages (0xCn, 0xDn)
    uint8_t data2 = 0;
    uint8_t metaType = 0;
    std::span<const uint8_t> payload;  // system exclusive and meta: the bytes after the length
};

// Where the two readers differ, by design of each.
struct SmfTokenizerOptions {
    // 0xF7 starts a system-exclusive event; otherwise it ends the track.
    bool escapedSysEx = true;
    // A data byte before any status byte reads as a message of status 0 with two data bytes;
    // otherwise it ends the track.
    bool dataWithoutStatus = false;
};

class SmfTokenizer {
  public:
    // `runningStatus` is the status in force when the chunk starts (0: none).
    SmfTokenizer(std::span<const uint8_t> body, SmfTokenizerOptions options, uint8_t runningStatus = 0)
        : in(body), options(options), runningStatus(runningStatus) {}

    // Reads the next event into `token`. False at the end of the body and where the data
    // stops making sense: a variable-length number over 4 bytes, a length or message running
    // past the body, a system status 0xF1..0xFE (and 0xF7 or a data byte without status
    // unless the options allow them). Running status is kept across system-exclusive and
    // meta events.
    bool Next(SmfToken& token);

    // The status in force after the last event read.
    uint8_t RunningStatus() const { return runningStatus; }

  private:
    BigEndianReader in;
    SmfTokenizerOptions options;
    uint8_t runningStatus;
};

// In the header so that both readers' loops inline it: it runs once per event of a song.
inline bool SmfTokenizer::Next(SmfToken& token) {
    uint8_t first = 0;
    token = SmfToken{};
    if (!in.ReadVarLen(token.delta) || !in.Peek(first)) return false;

    if (first < 0xF0) {
        if (first >= 0x80) {
            runningStatus = first;
            in.Skip(1);
        } else if (runningStatus == 0 && !options.dataWithoutStatus) {
            return false;
        }
        token.kind = SmfToken::Kind::Channel;
        token.status = runningStatus;
        if (!in.ReadU8(token.data1)) return false;
        return ChannelDataBytes(runningStatus) == 1 || in.ReadU8(token.data2);
    }

    in.Skip(1);
    token.status = first;
    uint32_t length = 0;
    if (first == 0xF0 || (first == 0xF7 && options.escapedSysEx)) {
        token.kind = SmfToken::Kind::SysEx;
        return in.ReadVarLen(length) && in.ReadSpan(length, token.payload);
    }
    if (first != 0xFF) return false;
    token.kind = SmfToken::Kind::Meta;
    return in.ReadU8(token.metaType) && in.ReadVarLen(length) && in.ReadSpan(length, token.payload);
}
