#pragma once
// The settings of the main window, read at start-up and written at shut-down, with the bounds
// every stored value goes through on reading.

#include <cstdint>
#include <string>

class RegistryKey;

struct AppSettings {
    int32_t interval = 10;               // INTERVAL: chart ticks per pixel of the view, 5..15
    int32_t frameSkip = 40;              // FRAMESKIP: milliseconds between frames while playing, 0..80
    int32_t scroll = 100;                // SCROLL: chart ticks per scroll step, 50..150
    int32_t longLength = 768;            // LONG: shortest long note, 192, 384 or 768 chart ticks
    int32_t windLengthDecrease = 6;      // step of the wind-instrument length trim; not stored
    bool beatLines = false;              // GRID: beat and measure lines under the notes
    // CTRLZUNDO: Ctrl+Z undoes and Delete All is Ctrl+Shift+D (1, or no value); 0 keeps the
    // classic keys, where Ctrl+Z is Delete All, for authors who chose them.
    bool ctrlZUndoes = true;
    int32_t windowX = 10, windowY = 10;  // WINDOWX, WINDOWY: main window's top-left corner
    int32_t toolX = 600, toolY = 10;     // TOOLX, TOOLY: the tools palette's top-left corner
    std::string lastPath;                // LastPath: folder the file dialogs open in

    // The stored values when the settings existed, each checked: a position beyond its upper
    // bound and a value outside what the Options dialog offers fall back to the default.
    // Without stored settings every default applies and the last path is `homeFolder`. A
    // window position is only bounded here; whether it lies on a screen is the window's check.
    static AppSettings Read(const RegistryKey& key, const std::string& homeFolder);

    // The author name stored for new charts ("RYXER"): "Unknown" when no settings existed,
    // empty when they existed without it; at most 19 characters.
    static std::string StoredAuthor(const RegistryKey& key);

    // Shut-down: the window position and the four view settings; the author when `author` is
    // not empty (cut to 19 characters); the last path, or `homeFolder` when there is none. The palette's
    // position is written by WritePalettePosition.
    void WriteAtShutDown(RegistryKey& key, const std::string& author, const std::string& homeFolder) const;
    void WritePalettePosition(RegistryKey& key) const;
};
