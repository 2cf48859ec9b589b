#pragma once
// The system's output ports, in the order the port list shows them: first the FluidSynth
// software synthesizer playing a General MIDI SoundFont through the first audio driver that
// opens (PulseAudio, PipeWire, ALSA, then JACK without starting a server), then every MIDI
// output port RtMidi finds (ALSA sequencer and JACK MIDI). A machine without sound keeps the
// synthesizer in the list, silent, its name saying why.

#include <filesystem>
#include <memory>
#include <vector>

#include "OutputPort.h"

std::vector<std::unique_ptr<OutputPort>> SystemPorts(const std::filesystem::path& soundFont);
