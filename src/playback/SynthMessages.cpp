#include "SynthMessages.h"

#include <fluidsynth.h>

void SendToSynth(fluid_synth_t* synth, uint8_t status, uint8_t data1, uint8_t data2, const uint8_t* sysex,
                 std::size_t sysexSize) {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, channel, data1); break;
        case 0x90:
            if (data2 == 0)
                fluid_synth_noteoff(synth, channel, data1);
            else
                fluid_synth_noteon(synth, channel, data1, data2);
            break;
        case 0xA0: fluid_synth_key_pressure(synth, channel, data1, data2); break;
        case 0xB0: fluid_synth_cc(synth, channel, data1, data2); break;
        case 0xC0: fluid_synth_program_change(synth, channel, data1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, channel, data1); break;
        case 0xE0: fluid_synth_pitch_bend(synth, channel, data1 | data2 << 7); break;
        case 0xF0:
            // FluidSynth wants the bytes between F0 and F7.
            if (status == kSysExMessage && sysexSize > 0)
                fluid_synth_sysex(synth, reinterpret_cast<const char*>(sysex), static_cast<int>(sysexSize),
                                  nullptr, nullptr, nullptr, 0);
            break;
        default: break;
    }
}
