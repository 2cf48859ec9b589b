#pragma once
// What `render` and `play` both need: the chart opened as the editor opens it, its song as
// playback uses it, and the play filter from the option.

#include <filesystem>
#include <ostream>
#include <string>

#include "chart/Chart.h"
#include "playback/SongTimeline.h"

// False after one message on `err` for a filter other than all, player or a track 0..15, a
// negative start, or a chart or song that cannot be read.
bool LoadPlaybackInput(const std::filesystem::path& chartPath, const std::string& filter, int64_t from,
                       const std::filesystem::path& tempDir, CChart& chart, SongTimeline& song,
                       std::ostream& err);
