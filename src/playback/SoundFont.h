#pragma once
// The General MIDI SoundFont the synthesizer plays with: which one, and whether it loads.

#include <filesystem>

#include "io/Status.h"

struct _fluid_synth_t;

// RYX_SOUNDFONT when the environment sets it, else Debian's default GM SoundFont.
std::filesystem::path DefaultSoundFont();

// Loads `soundFont` into `synth`; OpenInput naming it, with the library's own reason when it
// gave one, for a file that is missing, not a SoundFont, or damaged. The library's messages
// go to the sound log, never the terminal.
Status LoadSoundFont(_fluid_synth_t* synth, const std::filesystem::path& soundFont);

// Whether `soundFont` loads, tried in a synthesizer of its own: what commands ask before they
// play or render, so a bad SoundFont is refused in one line rather than heard as silence.
Status CheckSoundFont(const std::filesystem::path& soundFont);
