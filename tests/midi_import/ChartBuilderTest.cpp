// The chart builder's rules, over songs built in code, and the millisecond times of events.

#include <gtest/gtest.h>

#include "midi_import/ChartBuilder.h"
#include "midi_import/TickTime.h"
#include "support/SmfBuilder.h"

namespace {

Bytes NoteTrack(uint8_t channel, uint8_t key, uint32_t start, uint32_t length) {
    return Track({Ev(start, {static_cast<uint8_t>(0x90 | channel), key, 100}),
                  Ev(length, {static_cast<uint8_t>(0x80 | channel), key, 0})});
}

CChart Build(const Bytes& file, CChartBuilder* used = nullptr) {
    CSmfFile smf;
    EXPECT_TRUE(smf.ReadBytes(file));
    CChart chart;
    CChartBuilder builder;
    builder.Build(smf, chart);
    if (used) *used = builder;
    return chart;
}

}  // namespace

TEST(ChartBuilder, FileTracksWithNotesFillChartTracksInOrder) {
    const Bytes tempo = Track({Tempo(0, 500000)});
    const Bytes silent = Track({Ev(0, {0xC3, 4}), Ev(10, {0xB3, 7, 100})});
    CChart chart = Build(Smf(1, 480, {tempo, NoteTrack(0, 60, 0, 480), silent, NoteTrack(1, 62, 0, 480)}));
    EXPECT_EQ(chart.usedTrackCount, 2);
    EXPECT_EQ(chart.tracks[0].At(0).key, 60);
    EXPECT_EQ(chart.tracks[1].At(0).key, 62);
    EXPECT_EQ(chart.tracks[1].At(0).track, 1);
    // The silent track's program reached chart track 1 first and stays there.
    EXPECT_EQ(chart.tracks[1].instrument, 4);

    Bytes file = Header(1, 21, 96);
    file.insert(file.end(), tempo.begin(), tempo.end());
    for (int t = 0; t < 20; ++t) {
        Bytes track = NoteTrack(static_cast<uint8_t>(t % 16), static_cast<uint8_t>(40 + t), 0, 96);
        file.insert(file.end(), track.begin(), track.end());
    }
    CChart full = Build(file);
    EXPECT_EQ(full.usedTrackCount, 16);
    EXPECT_EQ(full.tracks[15].At(0).key, 55);
}

TEST(ChartBuilder, NoteTimesLengthsAndEnds) {
    struct Case {
        const char* what;
        Bytes track;
        std::vector<std::array<int32_t, 4>> notes;  // time, length, timeMs, lengthMs
    };
    Bytes longNote = Ev(0, {0x90, 60, 100});
    for (int i = 0; i < 1500; ++i) {
        Bytes e = Ev(0, {0xB0, 7, 100});
        longNote.insert(longNote.end(), e.begin(), e.end());
    }
    Bytes off = Ev(10, {0x80, 60, 0});
    longNote.insert(longNote.end(), off.begin(), off.end());
    const std::vector<Case> cases = {
        {"scaled to chart ticks",
         Track({Ev(960, {0x90, 60, 100}), Ev(480, {0x80, 60, 0})}),
         {{1536, 740, 1000, 500}}},
        {"velocity 0 ends a note and never starts one",
         Track({Ev(480, {0x90, 60, 0}), Ev(0, {0x90, 62, 90}), Ev(480, {0x90, 62, 0})}),
         {{768, 740, 500, 500}}},
        {"the end must be on the same channel and key",
         Track({Ev(0, {0x90, 60, 90}), Ev(10, {0x81, 60, 0}), Ev(10, {0x80, 61, 0}), Ev(10, {0x80, 60, 0})}),
         {{0, 46, 0, 31}}},
        {"any message with the key and value 0 ends it",
         Track({Ev(0, {0x92, 7, 90}), Ev(480, {0xB2, 7, 0})}),
         {{0, 740, 0, 500}}},
        {"a note never ended gives no note",
         Track({Ev(0, {0x90, 60, 90}), Ev(0, {0x90, 62, 90}), Ev(480, {0x80, 62, 0})}),
         {{0, 740, 0, 500}}},
        {"1500 events before the end: length 0", Track({longNote}), {{0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        CChart chart = Build(Smf(1, 480, {Track({Tempo(0, 500000)}), c.track}));
        ASSERT_EQ(chart.tracks[0].Count(), c.notes.size()) << c.what;
        for (std::size_t i = 0; i < c.notes.size(); ++i) {
            const CNote& n = chart.tracks[0].At(static_cast<uint32_t>(i));
            EXPECT_EQ((std::array<int32_t, 4>{n.time, n.length, n.timeMs, n.lengthMs}), c.notes[i]) << c.what;
        }
    }
}

TEST(ChartBuilder, InstrumentsLanesAndSongLength) {
    CChart chart = Build(
        Smf(1, 480,
            {Track({Tempo(0, 500000), Ev(0, {0xC5, 20})}),
             Track({Ev(0, {0xC0, 30}), Ev(0, {0x90, 61, 90}), Ev(0, {0x90, 71, 90}), Ev(1920, {0x80, 71, 0}),
                    Ev(0, {0x90, 64, 90}), Ev(10, {0x80, 64, 0}), Ev(960, {0x80, 61, 0})})}));
    // The tempo track's program change comes first in every merged list.
    EXPECT_EQ(chart.tracks[0].instrument, 20);
    ASSERT_EQ(chart.tracks[0].Count(), 3u);
    EXPECT_EQ(chart.tracks[0].At(0).lane, 0);  // C sharp
    EXPECT_EQ(chart.tracks[0].At(1).lane, 6);  // B
    EXPECT_EQ(chart.tracks[0].At(2).lane, 2);  // E
    // The song length comes from the note that starts last, not the one that ends last.
    EXPECT_EQ(chart.songLengthMs, 2000 + 10);

    CChart drums = Build(
        Smf(1, 96,
            {Track({Tempo(0, 500000)}),
             Track({Ev(0, {0xC9, 25}), Ev(0, {0xC9, 30}), Ev(0, {0x99, 36, 90}), Ev(10, {0x89, 36, 0})})}));
    EXPECT_EQ(drums.tracks[0].instrument, kDrumInstrument);
}

TEST(ChartBuilder, UnusualDivisionsAndLongSongsStayInRange) {
    CChartBuilder builder;
    CChart smpte = Build(Smf(1, 0xE728, {Track({Tempo(0, 500000)}), NoteTrack(0, 60, 500, 500)}), &builder);
    EXPECT_EQ(builder.division, 500);
    EXPECT_EQ(smpte.tracks[0].At(0).time, 768);
    EXPECT_EQ(smpte.tracks[0].At(0).timeMs, 500);  // 25 fps x 40 ticks: 500 ticks are half a second

    CChart zero = Build(Smf(1, 0, {Track({Tempo(0, 500000)}), NoteTrack(0, 60, 96, 96)}), &builder);
    EXPECT_EQ(builder.division, 96);
    EXPECT_EQ(zero.tracks[0].At(0).time, 768);

    // 20 million ticks at 96 per quarter: far past where t x 768 fits 32 bits.
    CChart longSong = Build(Smf(1, 96, {Track({Tempo(0, 500000)}), NoteTrack(0, 60, 20000000, 96)}));
    EXPECT_EQ(longSong.tracks[0].At(0).time, 160000000);
}

TEST(ChartBuilder, MergeTakesTheTempoTracksEventFirstOnEqualTimes) {
    auto at = [](int32_t time, uint8_t key) {
        CNote n;
        n.time = time;
        n.key = key;
        return n;
    };
    const std::vector<CNote> tempo = {at(0, 1), at(10, 2), at(20, 3)};
    std::vector<CNote> events = {at(-5, 4), at(10, 5), at(10, 6), at(30, 7)};
    CChartBuilder::MergeTempoInto(tempo, events);
    std::vector<uint8_t> keys;
    for (const CNote& n : events) keys.push_back(n.key);
    EXPECT_EQ(keys, (std::vector<uint8_t>{4, 1, 2, 5, 6, 3, 7}));
}

TEST(TickTime, MillisecondsFollowTheTempo) {
    struct Case {
        int resolution;
        std::vector<std::pair<int32_t, uint32_t>> events;  // tick, tempo (0: not a tempo event)
        std::vector<int32_t> ms;
    };
    const std::vector<Case> cases = {
        {480, {{0, 0}, {960, 0}}, {0, 1000}},
        {96, {{0, 600000}, {96, 0}}, {0, 600}},
        {480, {{0, 0}, {480, 1000000}, {480, 0}, {960, 0}}, {0, 500, 500, 1500}},
        {0, {{96, 0}}, {500}},  // resolution 0 reads as 96
        {480, {{1, 0}, {2, 0}, {3, 0}}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<CNote> events;
        for (auto [tick, tempo] : c.events) {
            Bytes track = tempo ? Tempo(0, tempo) : Ev(0, {0x90, 60, 1});
            CSmfFile one;
            ASSERT_TRUE(one.ReadBytes(Smf(0, 96, {Track({track})})));
            CNote event = one.TrackEvents(0)->front();
            event.time = tick;
            events.push_back(event);
        }
        ConvertTicksToMs(events, c.resolution);
        std::vector<int32_t> ms;
        for (const CNote& e : events) ms.push_back(e.timeMs);
        EXPECT_EQ(ms, c.ms) << c.resolution;
    }
}
