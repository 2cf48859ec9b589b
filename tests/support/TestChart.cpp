#include "TestChart.h"

#include <gtest/gtest.h>

#include "chart/Lanes.h"

CNote MakeNote(int32_t time, uint8_t key, uint16_t track, int32_t length) {
    CNote note;
    note.time = time;
    note.length = length;
    note.status = static_cast<uint8_t>(0x90 | (track & 0x0F));
    note.key = key;
    note.velocity = 100;
    note.track = track;
    note.lane = LaneFromKey(key);
    return note;
}

CChart MakeSampleChart() {
    CChart chart;
    chart.songInfo.title = "Sunrise Run";
    chart.songInfo.composer = "J. Doe";
    chart.songInfo.extGenre = "Chiptune";
    chart.songInfo.author = "tester";
    chart.songInfo.genre = 3;
    chart.songInfo.level = 6;
    chart.songInfo.currentTrack = 1;
    chart.songLengthMs = 12345;
    chart.tracks[0].instrument = 0;
    chart.tracks[1].instrument = 33;
    chart.tracks[2].instrument = kDrumInstrument;
    for (uint16_t t = 0; t < 3; ++t) {
        for (int i = 0; i < 25; ++i)
            chart.tracks[t].Append(MakeNote(i * 384, static_cast<uint8_t>(48 + i + t), t));
    }
    chart.usedTrackCount = 3;
    for (uint16_t t = 0; t < 3; ++t) {
        for (uint32_t i = t; i < 25; i += 4) {
            CNote& note = chart.tracks[t].At(i);
            note.selected = true;
            note.longNote = i % 8 == 0;
            chart.selection.AddSorted(note);
        }
    }
    chart.RebuildPlayerFromSelection();
    return chart;
}

namespace {
void ExpectSameTrack(const CNoteTrack& expected, const CNoteTrack& actual, const std::string& name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(expected.instrument, actual.instrument);
    ASSERT_EQ(expected.Count(), actual.Count());
    for (uint32_t i = 0; i < expected.Count(); ++i) {
        const CNote& e = expected.At(i);
        const CNote& a = actual.At(i);
        EXPECT_EQ(e.time, a.time) << i;
        EXPECT_EQ(e.length, a.length) << i;
        EXPECT_EQ(e.status, a.status) << i;
        EXPECT_EQ(e.key, a.key) << i;
        EXPECT_EQ(e.velocity, a.velocity) << i;
        EXPECT_EQ(e.selected, a.selected) << i;
        EXPECT_EQ(e.lane, a.lane) << i;
        EXPECT_EQ(e.track, a.track) << i;
        EXPECT_EQ(e.longNote, a.longNote) << i;
    }
}
}  // namespace

void ExpectSameStoredChart(const CChart& expected, const CChart& actual) {
    EXPECT_EQ(expected.songInfo.title, actual.songInfo.title);
    EXPECT_EQ(expected.songInfo.composer, actual.songInfo.composer);
    EXPECT_EQ(expected.songInfo.extGenre, actual.songInfo.extGenre);
    EXPECT_EQ(expected.songInfo.author, actual.songInfo.author);
    EXPECT_EQ(expected.songInfo.genre, actual.songInfo.genre);
    EXPECT_EQ(expected.songInfo.level, actual.songInfo.level);
    EXPECT_EQ(expected.songInfo.currentTrack, actual.songInfo.currentTrack);
    EXPECT_EQ(expected.songLengthMs, actual.songLengthMs);
    EXPECT_EQ(expected.usedTrackCount, actual.usedTrackCount);
    for (int t = 0; t < kTrackCount; ++t)
        ExpectSameTrack(expected.tracks[static_cast<std::size_t>(t)],
                        actual.tracks[static_cast<std::size_t>(t)], "track " + std::to_string(t));
    ExpectSameTrack(expected.player, actual.player, "player");
}
