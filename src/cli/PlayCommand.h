#pragma once
// `ryxtool play FILE.ryx [--from TICKS] [--filter all|player|N] [--port N|NAME]` plays in real
// time what Play in the editor would play, printing the position once a second, until the
// song's end or Ctrl+C. `ryxtool play --list-ports` prints the output ports, "N NAME" a line.

#include <atomic>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

struct PlayOptions {
    std::optional<std::filesystem::path> chart;
    int64_t from = 0;
    std::string filter = "all";
    std::optional<std::string> port;  // index or name
    bool listPorts = false;
    int speed = 100;  // percent, 25..200
    bool metronome = false;
};

// 0 when played to the end or stopped; 2 after a message for a bad option, an unknown port or
// a chart that cannot be read. `stop` ends the playing early (set by Ctrl+C).
int RunPlay(const PlayOptions& options, const std::filesystem::path& tempDir, std::ostream& out,
            std::ostream& err, const std::atomic<bool>& stop);
