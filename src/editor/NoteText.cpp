#include "NoteText.h"

#include <cmath>
#include <cstdio>

#include "chart/BeatGrid.h"

std::string MinutesSeconds(double ms, bool tenths) {
    char text[32];
    const auto units = static_cast<int64_t>(tenths ? std::floor(std::max(ms, 0.0) / 100.0)
                                                   : std::ceil(std::max(ms, 0.0) / 1000.0));
    const int64_t seconds = tenths ? units / 10 : units;
    if (tenths)
        std::snprintf(text, sizeof text, "%lld:%02lld.%lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60), static_cast<long long>(units % 10));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}

std::string PitchName(uint8_t key) {
    static const char* const kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    return std::string(kNames[key % 12]) + std::to_string(key / 12 - 1);
}

std::string NoteDetails(const CChart& chart, const CNote& note, bool isPlayerNote, const std::string& trackName) {
    // The measure:beat part of the beat read-out, without its tempo.
    std::string where = BeatReadout(chart.tempoMap, note.time);
    where = where.substr(0, where.find(' '));
    char beats[32];
    std::snprintf(beats, sizeof beats, "%.2g", static_cast<double>(note.length) / kTicksPerQuarter);
    // Short enough for the status line beside its read-outs.
    std::string text = "Track " + std::to_string(note.track + 1);
    if (!trackName.empty()) text += " " + trackName;
    text += ": " + PitchName(note.key) + ", " + where + ", " + beats +
            (note.length == kTicksPerQuarter ? " beat" : " beats") + ", vel. " + std::to_string(note.velocity) +
            ", lane " + std::to_string(note.lane + 1);
    if (isPlayerNote) text += ", player note";
    return text;
}
