#include "LargeSong.h"

#include <string>

#include "smf/LibSmf.h"

namespace {
constexpr uint16_t kResolution = 480;
constexpr int kTracks = 16;
constexpr int kNotesPerTrack = 60000;
constexpr uint32_t kNoteTicks = kResolution / 2;
}  // namespace

std::vector<uint8_t> LargeSong() {
    std::vector<CLibTrack> tracks(kTracks + 1);
    const uint32_t measures = kNotesPerTrack * kNoteTicks / (4 * kResolution);
    for (uint32_t m = 0; m < measures; ++m)
        tracks[0].Insert(MakeTempoEvent(m == 0 ? 0 : 4 * kResolution, 400000 + (m % 50) * 2000));
    for (int t = 1; t <= kTracks; ++t) {
        CLibTrack& track = tracks[static_cast<std::size_t>(t)];
        const auto channel = static_cast<uint8_t>((t - 1) % 16);
        track.SetName("Track " + std::to_string(t));
        track.Insert({0, static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(t * 5), 0, 0});
        for (int n = 0; n < kNotesPerTrack; ++n) {
            const auto key = static_cast<uint8_t>(36 + (n * 7 + t) % 48);
            track.Insert({0, static_cast<uint8_t>(0x90 | channel), key, 100, 0});
            track.Insert({kNoteTicks, static_cast<uint8_t>(0x80 | channel), key, 0, 0});
        }
    }
    CLibSmf writer;
    writer.Open("unused.mid", 'w', 1);
    for (CLibTrack& track : tracks) writer.AddTrack(track);
    writer.SetResolution(kResolution);
    return writer.Serialize();
}

std::vector<uint8_t> DenseSong(std::size_t events) {
    std::vector<uint8_t> body = {0x00, 0x90, 60, 100};
    for (std::size_t i = 1; i < events; ++i) {
        const auto key = static_cast<uint8_t>(40 + (i / 2) % 40);
        body.insert(body.end(), {static_cast<uint8_t>(i % 2), key, static_cast<uint8_t>(i % 2 ? 0 : 100)});
    }
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<uint8_t>(body.size() >> shift));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}
