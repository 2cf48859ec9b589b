#pragma once
// The four display settings of the view, in chart ticks except FRAMESKIP.

struct ViewSettings {
    int interval = 10;       // INTERVAL: chart ticks per pixel; never 0 (see Sanitised)
    int frameSkip = 40;      // FRAMESKIP: milliseconds between frames while playing
    int scroll = 100;        // SCROLL: chart ticks per scroll step
    int longLength = 768;    // LONG: shortest length of a long note
    bool beatLines = false;  // draw beat and measure lines under the notes

    // The settings with an INTERVAL of at least 1, so no time-to-pixel step divides by zero.
    ViewSettings Sanitised() const {
        ViewSettings s = *this;
        if (s.interval < 1) s.interval = 1;
        return s;
    }
};
