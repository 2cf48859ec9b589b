#pragma once
// TestPlayRun: one run of test-play in the editor. The song plays from a start point after a
// lead-in, every track but the player's own notes, which sound only when the player hits them
// (their own pitch, velocity and instrument); presses and releases are judged on the clock of
// what is heard, at the engine's playback speed. With autoplay the run presses every key itself, exactly on time.
// User-interface thread only; nothing here blocks.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "chart/Chart.h"
#include "io/Status.h"
#include "playback/SoundEngine.h"
#include "testplay/KeyEvents.h"

class TestPlayRun {
  public:
    static constexpr double kLeadInSeconds = 2.0;

    // The engine must hold no other song while the run lasts.
    TestPlayRun(CChart& chart, SoundEngine& engine) : chart(chart), engine(engine) {}

    // Starts at `fromTick`; why not (NothingToPlay with no player note at or after it, the
    // song file's faults).
    Status Start(int32_t fromTick, const std::filesystem::path& songPath, bool autoplay, double offsetMs);
    // A key of `lane` went down or up `secondsAgo` seconds before now (the key event's age).
    void KeyDown(int lane, double secondsAgo);
    void KeyUp(int lane, double secondsAgo);
    // One frame: the keys autoplay presses, the notes whose time passed; true once the song
    // has ended (a second after the last note ends, or the song's end).
    bool Frame();
    // Ends the run: the sound stops; what was not reached stays unjudged.
    void End();

    bool Running() const { return running; }
    bool Autoplay() const { return autoplay; }
    int32_t StartTick() const { return startTick; }
    // The song's milliseconds heard now, and the chart tick there (the start tick during the
    // lead-in).
    double SongMsNow() const { return engine.HeardSongMs(); }
    int32_t TickNow() const;
    const Judge& Results() const { return *judge; }
    bool LaneDown(int lane) const { return lane >= 0 && lane < Judge::kLanes && down[static_cast<std::size_t>(lane)]; }
    // The last judgement made, for the overlay.
    struct Shown {
        Judgement judgement = Judgement::None;
        std::optional<double> deltaMs;
    };
    Shown LastShown() const { return last; }

  private:
    void Press(int lane, double songMs);
    void Release(int lane, double songMs);

    CChart& chart;
    SoundEngine& engine;
    std::optional<Judge> judge;
    std::vector<KeyEvent> autoEvents;
    std::size_t nextAuto = 0;
    std::array<bool, Judge::kLanes> down{};
    Shown last;
    std::size_t missesSeen = 0;
    double endMs = 0;
    int32_t startTick = 0;
    bool running = false;
    bool autoplay = false;
};
