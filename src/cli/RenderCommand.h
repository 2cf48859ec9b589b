#pragma once
// `ryxtool render FILE.ryx -o OUT.wav [--from TICKS] [--filter all|player|N] [--soundfont SF2]
// [--speed PERCENT] [--metronome]`: renders what Play in the editor would play from that
// position into a WAV file, offline.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

struct RenderOptions {
    std::filesystem::path chart;
    std::filesystem::path output;
    int64_t from = 0;                                // start point, chart ticks
    std::string filter = "all";                      // all | player | a track 0..15
    std::optional<std::filesystem::path> soundFont;  // default: DefaultSoundFont()
    int speed = 100;                                 // percent, 25..200
    bool metronome = false;
};

// The fault of a playback speed option, or empty for 25..200 percent.
std::string SpeedFault(int percent);

// 0 when the WAV file is written; 2 after a message on `err` for a bad option, a chart or
// song that cannot be read, or a SoundFont that does not load (nothing written then).
int RunRender(const RenderOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
              std::ostream& err);
