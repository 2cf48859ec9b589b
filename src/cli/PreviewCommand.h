#pragma once
// `ryxtool preview FILE.ryx -o OUT.png [--height N] ...`: paints the chart view exactly as the editor's
// window shows it and writes the frame as a PNG file.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

struct PreviewOptions {
    std::filesystem::path chart;
    std::filesystem::path output;
    int track = 0;                  // current track 0..15
    int position = 0;               // chart ticks at the bottom edge of the lanes
    std::string layout = "large";   // "large" (540 × 600) or "small" (380 × 400)
    std::optional<int> height;      // taller than the layout's own: the lanes show more time
    int interval = 10;              // INTERVAL, chart ticks per pixel, at least 1
    int longLength = 768;           // LONG, the shortest long note
    bool beatLines = false;         // beat and measure lines under the notes
    std::filesystem::path dataDir;  // the folder holding "common/"
};

// Returns 0, or 2 after a message on `err` for a bad option, an unreadable chart or artwork,
// or a PNG that cannot be written.
int RunPreview(const PreviewOptions& options, const std::filesystem::path& tempDir, std::ostream& err);
