#pragma once
// Playing one message on a FluidSynth synthesizer: the one place MIDI bytes become its calls,
// for the live port and the offline render alike.

#include <cstddef>
#include <cstdint>

#include "TimedMessage.h"

typedef struct _fluid_synth_t fluid_synth_t;

// `sysex` (`sysexSize` bytes between F0 and F7) is read for kSysExMessage only.
void SendToSynth(fluid_synth_t* synth, uint8_t status, uint8_t data1, uint8_t data2, const uint8_t* sysex,
                 std::size_t sysexSize);

inline void SendToSynth(fluid_synth_t* synth, const TimedMessage& m) {
    SendToSynth(synth, m.status, m.data1, m.data2, m.sysex.data(), m.sysex.size());
}
