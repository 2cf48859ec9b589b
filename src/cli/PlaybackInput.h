#pragma once
// What `render` and `play` both need: the chart opened as the editor opens it, its song as
// playback uses it, the play filter from the option and the start point.

#include <ostream>
#include <string>

#include "document/ChartDocument.h"
#include "playback/SongTimeline.h"

// Opens `chartPath` in `document`, sets the play filter and puts the view at `from`. False
// after one message on `err` for a filter other than all, player or a track 0..15, a start
// that is negative or past the song's end, or a chart or song that cannot be read.
bool LoadPlaybackInput(const std::filesystem::path& chartPath, const std::string& filter, int64_t from,
                       ChartDocument& document, SongTimeline& song, std::ostream& err);
