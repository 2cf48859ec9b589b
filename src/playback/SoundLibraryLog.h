#pragma once
// The sound libraries (FluidSynth with GLib, ALSA, JACK) report through callbacks that are process-wide
// by their own design. These route every report into the program's sound log instead of the
// terminal: the last lines are kept in memory, and written to standard error as well when the
// environment variable RYX_SOUND_LOG is set. Any thread may call these.

#include <string>

// Installs the routing; calling it again changes nothing.
void RouteSoundLibraryMessages();

// The last error a sound library reported since the routing was installed, or empty.
std::string LastSoundLibraryError();
