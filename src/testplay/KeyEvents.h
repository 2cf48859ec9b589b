#pragma once
// Key events of a test-play: read from a file of `ms,lane,down|up` lines, made for a perfect
// player, and fed to a judge.

#include <string>
#include <string_view>
#include <vector>

#include "Judge.h"

struct KeyEvent {
    double ms = 0;  // song time
    int lane = 0;   // 0..6
    bool down = true;
};

// Reads one event a line (`ms,lane,down` or `ms,lane,up`; blank lines are skipped). On a bad
// line, a lane outside 0..6, a time before the previous one, a `down` for a lane already down
// or an `up` for one that is not, returns false with `error` naming the line.
bool ReadKeyEvents(std::string_view text, std::vector<KeyEvent>& events, std::string& error);

// A perfect player: each key down at its note's time and up at a held note's end (at once for
// the others), in time order.
std::vector<KeyEvent> PerfectPlay(const std::vector<TestNote>& notes);

// Feeds `events` to `judge` in order, then lets the song run to its end (every note left is
// judged).
void JudgeRun(Judge& judge, const std::vector<KeyEvent>& events);
