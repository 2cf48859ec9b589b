#include <array>

#include "RepairChecks.h"

namespace {

constexpr int kDrumChannel = 9;

// Registered parameters set to their centres, then a pitch-bend range of two semitones:
// the values every channel track starts from.
constexpr std::array<std::array<uint8_t, 2>, 9> kTuningControllers = {{
    {101, 0},
    {100, 2},
    {6, 64},  // coarse tuning: centre
    {101, 0},
    {100, 1},
    {6, 64},  // fine tuning: centre
    {101, 0},
    {100, 0},
    {6, 2},  // pitch-bend sensitivity: two semitones
}};

bool HasProgramChange(const CLibTrack& track) {
    for (uint32_t i = track.cursor; i < track.Count(); ++i) {
        const uint8_t status = track.Event(i).status;
        if (status >= 0xC0 && status <= 0xCF) return true;
    }
    return false;
}

}  // namespace

bool FixPatches(CMidiSong& song) {
    if (!song.IsLoaded() || song.Format() == 0) return song.unchanged;
    song.unchanged = true;
    for (int t = 1; t < song.TrackCount(); ++t) {
        CLibTrack& track = song.Track(t);
        if (TrackIsEmpty(track)) continue;
        const int channel = song.TrackChannel(t);
        if (channel == kDrumChannel) {
            track.DeleteWhereKeepingTime([](const LibEvent& e) { return e.status == 0xC9; });
        } else if (!HasProgramChange(track)) {
            track.Insert({0, static_cast<uint8_t>(0xC0 + channel), 0, 0, 0}, track.cursor);
            song.unchanged = false;
        }
        // Inserted last to first at the front, so the track begins with them in table order.
        for (auto c = kTuningControllers.rbegin(); c != kTuningControllers.rend(); ++c)
            track.Insert({0, static_cast<uint8_t>(0xB0 + channel), (*c)[0], (*c)[1], 0}, track.cursor);
    }
    return song.unchanged;
}
