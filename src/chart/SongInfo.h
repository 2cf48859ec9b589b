#pragma once
// CSongInfo: the song information of the open chart.

#include <cstdint>
#include <string>

struct CSongInfo {
    std::string midiPath;  // the song played under the chart; never stored in the chart file
    // The four texts are stored in the chart file as a length byte and the bytes. The
    // program keeps them as UTF-8; bytes read from older files are kept as they were stored.
    std::string title;
    std::string composer;
    std::string extGenre;
    std::string author;
    int16_t level = 4;         // index 0..9 of the levels "1".."10"
    int16_t genre = 0;         // index 0..9 into the genre table
    int16_t currentTrack = 0;  // track selected in the palette when the chart was saved
};
