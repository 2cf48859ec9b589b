#pragma once
// The system's output ports, in the order the port list shows them: first the FluidSynth
// software synthesizer playing a General MIDI SoundFont through the first audio driver that
// opens (PulseAudio, PipeWire, ALSA, then JACK without starting a server; or the one chosen),
// then every MIDI output port RtMidi finds (ALSA sequencer and JACK MIDI). A machine without
// sound keeps the synthesizer in the list, silent, its name and Problem() saying why.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "OutputPort.h"

// The audio drivers the synthesizer can use, in the order they are tried.
inline constexpr const char* kAudioDrivers[] = {"pulseaudio", "pipewire", "alsa", "jack"};

// The audio driver to use: the environment's RYX_AUDIO_DRIVER, else `setting` (the AUDIODRIVER
// setting), when it names one of kAudioDrivers; empty (the first that opens) otherwise.
std::string ChosenAudioDriver(const std::string& setting);

// `audioDriver`: as ChosenAudioDriver takes it.
std::vector<std::unique_ptr<OutputPort>> SystemPorts(const std::filesystem::path& soundFont,
                                                     const std::string& audioDriver = {});
