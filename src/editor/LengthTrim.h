#pragma once
// The length trim of the options dialog: a note followed closely (less than 10 × d ticks after
// its end) by a note of the same key in the same lane is shortened to end exactly 10 × d
// ticks before that note starts (never below length 0), so repeated notes stay apart.

#include "chart/Chart.h"

void TrimLengths(CNoteTrack& track, int d);
