#pragma once
// SmfTokenizer: the one decoder of a track chunk's event stream, shared by the library layer's
// reader and the program's own MIDI file reader. It reads delta times, applies running status
// and cuts out system-exclusive and meta payloads; what an event means is the reader's.

#include <cstdint>
#include <span>

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
