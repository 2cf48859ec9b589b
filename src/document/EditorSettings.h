#pragma once
// EditorSettings: the editor's stored settings and the bounds every stored value goes through
// on reading, whoever stores them (the window keeps them in QSettings): a position beyond its
// upper bound and a value outside what the Options dialog offers fall back to the default, so
// a damaged settings file never gives a zero or negative step.

#include <cstdint>
#include <functional>
#include <optional>

struct EditorSettings {
    int32_t interval = 10;               // INTERVAL: chart ticks per pixel of the view, 5..15
    int32_t frameSkip = 40;              // FRAMESKIP: milliseconds between frames while playing, 0..80
    int32_t scroll = 100;                // SCROLL: chart ticks per scroll step, 50..150
    int32_t longLength = 768;            // LONG: shortest long note, 192, 384 or 768 chart ticks
    int32_t windLengthDecrease = 6;      // step of the wind-instrument length trim; not stored
    bool beatLines = false;              // GRID: beat and measure lines under the notes
    // CTRLZUNDO: Ctrl+Z undoes and Delete All is Ctrl+Shift+D (1, or no value); 0 keeps the
    // classic keys, where Ctrl+Z is Delete All, for authors who chose them.
    bool ctrlZUndoes = true;
    int32_t offsetMs = 0;                // OFFSET: test-play's audio offset, -300..300 ms
    bool metronome = false;              // METRONOME: a click on every beat while playing
    int32_t windowX = 10, windowY = 10;  // WINDOWX, WINDOWY: main window's top-left corner
    int32_t windowHeight = 0;            // WINDOWH: main window's height; 0: its layout's own
    int32_t toolX = 600, toolY = 10;     // TOOLX, TOOLY: the tools palette's top-left corner

    // The settings from stored values, each bounded: `stored(name)` gives the stored number of
    // a setting, or nothing when it is missing.
    static EditorSettings Bounded(const std::function<std::optional<int32_t>(const char* name)>& stored);
};
