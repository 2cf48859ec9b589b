#pragma once
// The rules every chart goes through once it is loaded from a chart file or converted from a
// MIDI file, whoever loads it (the editor, ryxtool, a test): so a chart read without a window
// is the same chart, byte for byte when saved, as the one the editor shows.

#include "Chart.h"

// Gives every track whose first note is on channel 10 the drum instrument (tracks are looked
// at in order up to the first without notes), then runs the overlap pass.
void FinishLoadedChart(CChart& chart);
