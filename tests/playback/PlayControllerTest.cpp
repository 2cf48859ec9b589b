// The editor's Play/Pause and Stop over the engine: the state table and the lit track rows.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "playback/PlayController.h"
#include "support/SmfBuilder.h"
#include "support/TestChart.h"
#include "support/TestFiles.h"

namespace {

struct Controlled {
    Controlled() : engine(Ports()), controller(chart, engine) {
        WriteBytes(folder / "song.mid", Smf(1, 96, {Track({Tempo(0, 500000)})}));
        controller.setLit = [this](int row, bool on) { lit[row] = on; };
    }
    static std::vector<std::unique_ptr<OutputPort>> Ports() {
        std::vector<std::unique_ptr<OutputPort>> ports;
        ports.push_back(std::make_unique<RecordingPort>());
        return ports;
    }
    ScratchFolder folder;
    CChart chart;
    SoundEngine engine;
    PlayController controller;
    std::map<int, bool> lit;
};

}  // namespace

TEST(PlayController, RowsLightWhileTheNextNoteComesWithin5000Ticks) {
    Controlled c;
    c.chart.tracks[0].Append(MakeNote(0, 60, 0, 100));
    c.chart.tracks[0].Append(MakeNote(5099, 60, 0, 100));  // 4999 after the first one's end
    c.chart.tracks[1].Append(MakeNote(0, 62, 1, 100));
    c.chart.tracks[1].Append(MakeNote(5100, 62, 1, 100));  // 5000 after
    c.chart.usedTrackCount = 2;
    c.controller.Seek(0);
    c.controller.StepNotes(0);
    EXPECT_TRUE(c.lit[0]);
    EXPECT_FALSE(c.lit[1]);
    c.controller.StepNotes(5100);  // both tracks play their last note
    EXPECT_FALSE(c.lit[0]);
    EXPECT_FALSE(c.lit[1]);
}

TEST(PlayController, RowsLightOnlyForWhatIsHeard) {
    // Track 0: notes at 0 and 1000; track 1: notes at 0 and 2000, the one at 2000 a player note
    // that sounds to 2100.
    struct Case {
        const char* what;
        int mode;  // kPlayAll, a track index, or kPlayPlayerOnly
        std::vector<std::pair<int32_t, std::map<int, bool>>> frames;  // position, rows expected
    };
    const std::vector<Case> cases = {
        {"every track", kPlayAll, {{0, {{0, true}, {1, true}}}}},
        {"only track 1", 1, {{0, {{0, false}, {1, true}}}, {1000, {{0, false}, {1, true}}}}},
        {"only the player's notes",
         kPlayPlayerOnly,
         {{0, {{0, false}, {1, false}}}, {2000, {{0, false}, {1, true}}}, {2101, {{0, false}, {1, false}}}}},
    };
    for (const Case& k : cases) {
        Controlled c;
        for (int32_t t : {0, 1000}) c.chart.tracks[0].Append(MakeNote(t, 60, 0, 100));
        for (int32_t t : {0, 2000}) c.chart.tracks[1].Append(MakeNote(t, 62, 1, 100));
        c.chart.player.Append(MakeNote(2000, 62, 1, 100));
        c.chart.usedTrackCount = 2;
        c.chart.SetPlayFilter(static_cast<int16_t>(k.mode));
        c.controller.Seek(0);
        for (const auto& [position, rows] : k.frames) {
            c.controller.StepNotes(position);
            for (const auto& [row, on] : rows) EXPECT_EQ(c.lit[row], on) << k.what << " at " << position << " row " << row;
        }
    }
}

TEST(PlayController, StateTable) {
    Controlled c;
    c.chart.tracks[0].Append(MakeNote(0, 60, 0, 100));
    c.chart.tracks[0].Append(MakeNote(100000, 62, 0, 100));
    c.chart.usedTrackCount = 1;
    const std::filesystem::path song = c.folder / "song.mid";
    EXPECT_FALSE(c.controller.PlayPause(100100, 100100, song));  // at the end: nothing
    EXPECT_FALSE(c.controller.PlayPause(0, 100100, c.folder / "missing.mid"));
    ASSERT_TRUE(c.controller.PlayPause(0, 100100, song));  // idle -> playing
    EXPECT_TRUE(c.controller.Playing());
    EXPECT_TRUE(c.engine.Playing());
    ASSERT_TRUE(c.controller.PlayPause(0, 100100, song));  // playing -> paused
    EXPECT_FALSE(c.controller.Playing());
    EXPECT_TRUE(c.engine.Paused());
    c.controller.Stop();  // paused, the view back at 0
    bool ended = false;
    EXPECT_EQ(c.controller.Follow(100100, ended), 0);
    ASSERT_TRUE(c.controller.PlayPause(50000, 100100, song));  // moved while stopped: starts there
    EXPECT_GE(c.engine.Position(), 50000);
    c.controller.ChartReplaced();
    EXPECT_FALSE(c.controller.Started());
    EXPECT_FALSE(c.engine.Playing());
}

TEST(PlayController, TheEndOfTheSongPausesThere) {
    Controlled c;
    c.chart.tracks[0].Append(MakeNote(0, 60, 0, 40));
    c.chart.usedTrackCount = 1;
    ASSERT_TRUE(c.controller.PlayPause(0, 40, c.folder / "song.mid"));
    bool ended = false;
    int32_t position = 0;
    for (int i = 0; i < 500 && !ended; ++i) {  // 40 chart ticks is 26 ms at 120 bpm
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        position = c.controller.Follow(40, ended);
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(position, 40);
    EXPECT_FALSE(c.controller.Playing());
    EXPECT_FALSE(c.controller.PlayPause(40, 40, c.folder / "song.mid"));  // at the end: nothing
}
