#pragma once
// Charts made in code for tests.

#include <cstdint>

#include "chart/Chart.h"

CNote MakeNote(int32_t time, uint8_t key, uint16_t track = 0, int32_t length = 100);

// A small chart: three used tracks (one of them drums), a few selected notes copied into the
// player track and the selection list, song information with every field set.
CChart MakeSampleChart();

// Every stored field of the two charts is equal (song information except midiPath, the 16
// tracks' instruments and notes, the player track, usedTrackCount, songLengthMs).
void ExpectSameStoredChart(const CChart& expected, const CChart& actual);
