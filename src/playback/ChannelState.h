#pragma once
// ChannelState: what a song has set on one MIDI channel up to a point, and the messages that
// set it again so that it means what it meant, for playing from the middle of a song. Order
// matters to a synthesizer: the program; a reset-all-controllers where the song used one
// (which clears what it resets, so those controllers are sent again only when the song set
// them after it); each registered or non-registered parameter the song gave a value, selected
// and followed by its data entry, in the order the song set them (the pitch-bend range among
// them), then the parameter selection in force; the other controllers; channel pressure; and
// the pitch bend last.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "TimedMessage.h"

class ChannelState {
  public:
    // Takes one channel message of this channel (any other message is ignored).
    void Apply(const TimedMessage& message);
    // The messages that restore this state, each stamped `tick`, on channel `channel`.
    void Restore(uint8_t channel, int64_t tick, std::vector<TimedMessage>& out) const;

  private:
    // A parameter: registered or not, and its two selection bytes (MSB, LSB).
    struct Parameter {
        bool registered = true;
        uint8_t msb = 127, lsb = 127;
        std::optional<uint8_t> dataMsb, dataLsb;  // data entry (controllers 6 and 38)
    };
    Parameter& Selected();
    void ForgetWhatAResetClears();

    std::optional<uint8_t> program, pressure;
    std::optional<std::pair<uint8_t, uint8_t>> bend;
    bool resetUsed = false;
    std::map<uint8_t, uint8_t> controllers;  // everything but data entry, selections and the reset
    // The selection bytes as last set (controllers 101, 100, 99, 98), and which kind came last.
    std::optional<uint8_t> rpnMsb, rpnLsb, nrpnMsb, nrpnLsb;
    bool registeredSelectedLast = true;
    std::vector<Parameter> parameters;  // with a value, in the order their value was last set
};
