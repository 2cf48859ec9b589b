#pragma once
// PlayController: Play/Pause and Stop of the editor over the sound engine, with the state
// table (idle, playing, paused, at the end), the player track rebuilt from the selection when
// it changed, the view position following the music clock, the end of the song, and the lit
// marks of the track rows, which follow what is heard: the row of a track that plays lights
// while its next note comes within 5000 chart ticks of the end of the one just played; when
// only the player's notes play, a row lights while a player note of its track sounds. The
// window calls Follow() from a timer every FRAMESKIP milliseconds; nothing here blocks or
// pumps events. User-interface thread only.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "SoundEngine.h"
#include "chart/Chart.h"

class PlayController {
  public:
    PlayController(CChart& chart, SoundEngine& engine) : chart(chart), engine(engine) { soundingUntil.fill(-1); }

    // The lit mark of track row `row` (0..15) turns on or off.
    std::function<void(int row, bool lit)> setLit;

    // A new chart was opened or converted: the engine forgets the old song and stops.
    void ChartReplaced();
    // Play/Pause at view position `position`; why not when nothing started or paused
    // (NothingToPlay at or past the song's end, OpenInput or NotMidi for a song file that
    // cannot be read).
    Status PlayPause(int32_t position, int32_t songLength, const std::filesystem::path& songPath);
    // Stops: paused, every row dark; the view goes back to 0 (the window's part).
    void Stop();
    // The view position now; at the song's end playing pauses there and `ended` is set.
    int32_t Follow(int32_t songLength, bool& ended);
    // The play filter changed (also while playing).
    void FilterChanged();

    // Moves every track's cursor to the first note at or after `position`: where the view
    // was moved to, and where the next Play starts.
    void Seek(int32_t position);
    // Moves every track's cursor past the notes that start by `position`, lighting and
    // darkening their rows; what Follow does at every frame.
    void StepNotes(int32_t position);

    bool Playing() const { return playing; }
    bool Started() const { return started; }

  private:
    void StepTrack(const CNoteTrack& track, uint32_t& cursor, int32_t position);
    void StepPlayer(int32_t position);
    void ClearLit();

    CChart& chart;
    SoundEngine& engine;
    bool loaded = false;   // the engine holds this chart's song
    bool started = false;  // played since the song was loaded (stays set while paused)
    bool playing = false;
    // The next note to play of each track, and of the player track last.
    std::array<uint32_t, kTrackCount + 1> cursors{};
    std::array<int64_t, kTrackCount> soundingUntil{};  // per row: end of its sounding player note, or -1
    int32_t lastPosition = 0;  // where the last frame put the view; kMoved after Stop
    static constexpr int32_t kMoved = INT32_MIN;
};
