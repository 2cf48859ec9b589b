#pragma once
// The rules every chart goes through once it is converted from a MIDI file or opened from a
// chart file, whoever loads it (the editor, ryxtool, a test): so a chart read without a window
// is the same chart, byte for byte when saved, as the one the editor shows.

#include "Chart.h"

// A chart just built from a MIDI file: gives drum tracks the drum instrument, runs the overlap
// pass (which moves notes that crowd a lane to free lanes) and marks the hidden notes.
void FinishConvertedChart(CChart& chart);

// A chart just read from a chart file: gives drum tracks the drum instrument and marks the
// hidden notes. Every stored lane stays as the file holds it: the lane moves of the overlap
// pass belong to the conversion only, so opening and saving again never changes a chart.
void FinishOpenedChart(CChart& chart);
