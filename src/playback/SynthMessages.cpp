#include "SynthMessages.h"

#include <fluidsynth.h>

void SendToSynth(fluid_synth_t* synth, const TimedMessage& m) {
    const int channel = m.status & 0x0F;
    switch (m.status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, channel, m.data1); break;
        case 0x90:
            if (m.data2 == 0)
                fluid_synth_noteoff(synth, channel, m.data1);
            else
                fluid_synth_noteon(synth, channel, m.data1, m.data2);
            break;
        case 0xA0: fluid_synth_key_pressure(synth, channel, m.data1, m.data2); break;
        case 0xB0: fluid_synth_cc(synth, channel, m.data1, m.data2); break;
        case 0xC0: fluid_synth_program_change(synth, channel, m.data1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, channel, m.data1); break;
        case 0xE0: fluid_synth_pitch_bend(synth, channel, m.data1 | m.data2 << 7); break;
        case 0xF0:
            // FluidSynth wants the bytes between F0 and F7.
            if (m.status == kSysExMessage && !m.sysex.empty())
                fluid_synth_sysex(synth, reinterpret_cast<const char*>(m.sysex.data()),
                                  static_cast<int>(m.sysex.size()), nullptr, nullptr, nullptr, 0);
            break;
        default: break;
    }
}
