#include "MidiSong.h"

bool TrackIsEmpty(const CLibTrack& track) {
    return track.cursor >= track.Count();
}

Status CMidiSong::Load(const std::filesystem::path& path) {
    Unload();
    if (Status status = smf.Open(path, 'r'); !status) return status;
    return ReadOpenedFile();
}

Status CMidiSong::LoadBytes(std::vector<uint8_t> bytes) {
    Unload();
    if (Status status = smf.OpenBytes(std::move(bytes)); !status) return status;
    return ReadOpenedFile();
}

Status CMidiSong::ReadOpenedFile() {
    format = smf.Format();
    resolution = smf.Resolution();
    trackCount = smf.FileTrackCount();
    for (int i = 0; i < trackCount; ++i) {
        tracks.push_back(std::make_unique<CLibTrack>());
        smf.AddTrack(*tracks.back());
    }
    // The layout found at least one track, so every track chunk has a track to read into.
    smf.Read();
    smf.Close();
    loaded = true;
    return {};
}

std::vector<uint8_t> CMidiSong::Serialize() {
    if (!loaded) return {};
    smf.Open("", 'w', format);
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (i == 0 || !TrackIsEmpty(*tracks[i])) smf.AddTrack(*tracks[i]);
    }
    smf.SetResolution(resolution);
    std::vector<uint8_t> bytes = smf.Serialize();
    smf.Close();
    return bytes;
}

void CMidiSong::ShrinkToFit() {
    for (auto& track : tracks) track->ShrinkToFit();
}

void CMidiSong::Unload() {
    smf.Close();
    tracks.clear();
    loaded = false;
    trackCount = 0;
}

int CMidiSong::TrackChannel(int n) const {
    if (n < 0 || n >= trackCount || TrackIsEmpty(Track(n))) return 999;
    return Track(n).Event(Track(n).cursor).status & 0x0F;
}

uint32_t CMidiSong::TrackEventCount(int n) const {
    if (!loaded || n < 0 || n >= trackCount) return 0;
    return Track(n).Count() - std::min(Track(n).cursor, Track(n).Count());
}

void CMidiSong::ReplaceTracks(std::vector<std::unique_ptr<CLibTrack>> newTracks, uint16_t newFormat) {
    tracks = std::move(newTracks);
    trackCount = static_cast<int>(tracks.size());
    format = newFormat;
}
