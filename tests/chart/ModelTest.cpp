// The chart model: tracks, the track table operations and the vocabularies.

#include <gtest/gtest.h>

#include <utility>

#include "chart/Chart.h"
#include "chart/Genres.h"
#include "support/TestChart.h"

TEST(NoteTrack, AWriteThroughAnIndexPastTheEndIsNeverReadBack) {
    CNoteTrack track;
    track.Append(MakeNote(10, 60));
    track.At(1).time = 99;
    track.At(5).key = 64;
    EXPECT_EQ(track.At(1).time, 0);
    EXPECT_EQ(std::as_const(track).At(5).key, 0);
    EXPECT_EQ(track.Count(), 1u);
    EXPECT_EQ(track.At(0).time, 10);
}

TEST(NoteTrack, SeekStopsOnTheFirstNoteAtOrAfterTheTime) {
    CNoteTrack track;
    for (int32_t t : {0, 100, 100, 300}) track.Append(MakeNote(t, 60));
    struct Case {
        int32_t time;
        uint32_t cursor;
    };
    for (Case c :
         {Case{-5, 0}, Case{0, 0}, Case{1, 1}, Case{100, 1}, Case{101, 3}, Case{300, 3}, Case{301, 4}}) {
        EXPECT_EQ(track.FirstAtOrAfter(c.time), c.cursor) << c.time;
    }
}

TEST(TrackTable, PlayFilterMutesTheRightTracks) {
    struct Case {
        int16_t mode;
        bool playerMuted;
        int audibleTrack;  // -1: none, 16: all
    };
    for (Case c : {Case{kPlayPlayerOnly, false, -1}, Case{kPlayAll, true, 16}, Case{5, true, 5},
                   Case{0, true, 0}, Case{15, true, 15}}) {
        CChart chart;
        chart.SetPlayFilter(c.mode);
        EXPECT_EQ(chart.player.muted, c.playerMuted) << c.mode;
        for (int t = 0; t < kTrackCount; ++t) {
            bool audible = c.audibleTrack == 16 || c.audibleTrack == t;
            EXPECT_EQ(chart.tracks[static_cast<std::size_t>(t)].muted, !audible) << c.mode << " track " << t;
        }
    }
}

TEST(TrackTable, PlayFilterIgnoresUnknownModes) {
    for (int16_t mode : {int16_t{16}, int16_t{-3}, int16_t{1000}}) {
        CChart chart;
        chart.SetPlayFilter(3);
        chart.SetPlayFilter(mode);
        EXPECT_TRUE(chart.player.muted);
        EXPECT_FALSE(chart.tracks[3].muted) << mode;
        EXPECT_TRUE(chart.tracks[4].muted) << mode;
    }
}

TEST(TrackTable, FirstProgramChangeWinsAndChannelTenIsDrums) {
    CChart chart;
    CNote program;
    program.status = 0xC2;
    program.key = 33;
    chart.AssignInstrument(program, 1);
    program.key = 40;
    chart.AssignInstrument(program, 1);
    EXPECT_EQ(chart.tracks[1].instrument, 33);

    CNote drums;
    drums.status = 0xC9;
    drums.key = 16;
    chart.AssignInstrument(drums, 2);
    chart.AssignInstrument(program, 2);
    EXPECT_EQ(chart.tracks[2].instrument, kDrumInstrument);

    chart.AssignInstrument(program, 16);  // no such track: nothing happens
    chart.AssignInstrument(program, -1);
    for (int t = 3; t < kTrackCount; ++t) EXPECT_EQ(chart.tracks[static_cast<std::size_t>(t)].instrument, 0);
}

TEST(TrackTable, ResetTracksEmptiesEveryTrackAndMutesThePlayer) {
    CChart chart = MakeSampleChart();
    chart.tracks[4].muted = true;
    chart.player.muted = false;
    chart.ResetTracks();
    EXPECT_EQ(chart.usedTrackCount, 0);
    EXPECT_TRUE(chart.player.muted);
    for (const CNoteTrack& track : chart.tracks) {
        EXPECT_EQ(track.Count(), 0u);
        EXPECT_EQ(track.instrument, 0);
        EXPECT_FALSE(track.muted);
    }
}

TEST(Vocabularies, GenreAndLevelListTexts) {
    EXPECT_EQ(GenreListText(3), "3 Rock");
    EXPECT_EQ(GenreListText(5), "5 Game & Ani");
    EXPECT_EQ(GenreName(9), "Other");
    EXPECT_EQ(GenreName(10), "");
    EXPECT_EQ(LevelListText(0), "1");
    EXPECT_EQ(LevelListText(9), "10");
}
