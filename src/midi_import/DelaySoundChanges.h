#pragma once
// Keeps, in the song a chart stores, where a note stood among the messages of its tick.
//
// The chart keeps the song without its notes and plays each tick's song messages before the
// chart's notes of that tick, so a program change or controller that the song places after a
// note of its channel at the same tick would reach the synthesizer before that note, and the
// note would sound with the next instrument. Such a message is moved one file tick later
// (about a millisecond), after the note, in the song the chart stores.

#include "MidiSong.h"

// Moves every program change and controller that follows a note-on of its channel at the same
// tick of the same track one tick later, keeping the order of everything else. Notes stay
// where they are (the chart takes them from the song before this).
void DelaySoundChangesAfterNotes(CMidiSong& song);
