#pragma once
// Texts the window shows about time and notes: a time as minutes and seconds, a key's pitch
// name, and the details of the note under the mouse.

#include <cstdint>
#include <string>

#include "chart/Chart.h"

// "1:23.4" with `tenths` (tenths cut off, as a clock shows them), else "1:24" (whole seconds
// rounded up, as a length); negative times show as 0.
std::string MinutesSeconds(double ms, bool tenths);

// "C4" for key 60, "C#4" for 61, "A-1" .. "G9".
std::string PitchName(uint8_t key);

// The status line's words for `note`: "Track 2 Finger Bass: C#3, 12:3, 0.5 beats, vel. 96,
// lane 4, player note" (the last words only for one of the player's notes).
std::string NoteDetails(const CChart& chart, const CNote& note, bool isPlayerNote, const std::string& trackName);
