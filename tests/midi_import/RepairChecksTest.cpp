// The repair checks over songs built in code.

#include <gtest/gtest.h>

#include "midi_import/MidiSong.h"
#include "midi_import/RepairChecks.h"
#include "support/SmfBuilder.h"

namespace {

struct Song {
    explicit Song(const Bytes& file) : loaded(song.LoadBytes(file).Ok()) {}
    CMidiSong song;
    bool loaded = false;
};

struct Timed {
    uint64_t time;
    uint8_t status, data1, data2;
    bool operator==(const Timed&) const = default;
};

void PrintTo(const Timed& e, std::ostream* os) {
    *os << "{" << e.time << ", " << std::hex << int(e.status) << std::dec << ", " << int(e.data1) << ", "
        << int(e.data2) << "}";
}

// Events of a track with absolute times, the form in which "keeping time" can be checked.
std::vector<Timed> TimedEvents(const CLibTrack& track) {
    std::vector<Timed> out;
    uint64_t now = 0;
    for (uint32_t i = 0; i < track.Count(); ++i) {
        LibEvent e = track.Event(i);
        now += e.delta;
        out.push_back({now, e.status, e.data1, e.data2});
    }
    return out;
}

}  // namespace

TEST(ConvertToFormat1, SplitsByChannelAndKeepsAbsoluteTimes) {
    Song s(Smf(0, 96,
               {Track({MetaText(0, 0x03, "Song"), Tempo(0, 500000), Ev(0, {0xC0, 5}), Ev(0, {0x90, 60, 100}),
                       Ev(10, {0x99, 36, 100}), Ev(0, {0xF0, 1, 0xF7}), MetaText(5, 0x05, "la"),
                       Ev(5, {0x80, 60, 0}), Tempo(20, 400000), Ev(0, {0x89, 36, 0}), EndOfTrack(100)})}));
    ASSERT_TRUE(s.loaded);
    ConvertToFormat1(s.song);
    EXPECT_EQ(s.song.Format(), 1);
    ASSERT_EQ(s.song.TrackCount(), 17);
    EXPECT_EQ(TimedEvents(s.song.Track(0)), (std::vector<Timed>{{0, 0, 0x07, 0xA1}, {40, 0, 0x06, 0x1A}}));
    EXPECT_EQ(TimedEvents(s.song.Track(1)),
              (std::vector<Timed>{{0, 0xC0, 5, 0}, {0, 0x90, 60, 100}, {20, 0x80, 60, 0}}));
    EXPECT_EQ(TimedEvents(s.song.Track(10)), (std::vector<Timed>{{10, 0x99, 36, 100}, {40, 0x89, 36, 0}}));
    for (int t : {2, 3, 9, 11, 16}) EXPECT_EQ(s.song.TrackEventCount(t), 0u) << t;
    // The song's name, lyrics and length stay with the tempo track.
    EXPECT_EQ(s.song.Track(0).Name(), "Song");
    ASSERT_EQ(s.song.Track(0).metas.size(), 1u);
    EXPECT_EQ(s.song.Track(0).metas[0].time, 15u);
    EXPECT_EQ(s.song.Track(0).endTime, 140u);

    // Empty channel tracks are not written.
    CMidiSong saved;
    ASSERT_TRUE(saved.LoadBytes(s.song.Serialize()));
    EXPECT_EQ(saved.TrackCount(), 3);
    EXPECT_EQ(saved.TrackChannel(2), 9);
}

TEST(DeleteEvents, RemovesByMaskAndKeepsTheTimeOfTheRest) {
    const Bytes file = Smf(1, 96,
                           {Track({Tempo(0, 500000)}),
                            Track({Ev(0, {0xB0, 0, 1}), Ev(0, {0xB0, 32, 1}), Ev(10, {0xC0, 3}),
                                   Ev(0, {0xF0, 1, 0xF7}), Ev(10, {0x90, 60, 100}), Ev(10, {0xB3, 7, 90}),
                                   Ev(10, {0x80, 60, 0}), Ev(7, {0xF0, 1, 0xF7})})});
    struct Case {
        int mask;
        bool unchanged;
        std::vector<Timed> left;
    };
    const std::vector<Case> cases = {
        {kDeleteBankSelect,
         false,
         {{0, 0xB0, 32, 1},
          {10, 0xC0, 3, 0},
          {10, 0xF0, 0, 0},
          {20, 0x90, 60, 100},
          {30, 0xB3, 7, 90},
          {40, 0x80, 60, 0},
          {47, 0xF0, 0, 0}}},
        {kDeleteSysEx,
         false,
         {{0, 0xB0, 0, 1},
          {0, 0xB0, 32, 1},
          {10, 0xC0, 3, 0},
          {20, 0x90, 60, 100},
          {30, 0xB3, 7, 90},
          {40, 0x80, 60, 0}}},  // the last event's time goes with it
        {kDeleteNotes,
         false,
         {{0, 0xB0, 0, 1},
          {0, 0xB0, 32, 1},
          {10, 0xC0, 3, 0},
          {10, 0xF0, 0, 0},
          {30, 0xB3, 7, 90},
          {47, 0xF0, 0, 0}}},
        {kDeleteNotes | kDeleteProgramChanges | kDeleteSysEx | kDeleteBankSelect,
         false,
         {{0, 0xB0, 32, 1}, {30, 0xB3, 7, 90}}},
    };
    for (const Case& c : cases) {
        Song s(file);
        ASSERT_TRUE(s.loaded);
        EXPECT_EQ(DeleteEvents(s.song, c.mask), c.unchanged) << c.mask;
        EXPECT_EQ(TimedEvents(s.song.Track(1)), c.left) << c.mask;
        EXPECT_TRUE(DeleteEvents(s.song, c.mask)) << "nothing left to delete, mask " << c.mask;
    }
}

TEST(FixPatches, ProgramChangesAndTuningControllers) {
    const std::vector<Timed> tuning = [] {
        std::vector<Timed> t;
        for (auto [c, v] : std::vector<std::pair<uint8_t, uint8_t>>{
                 {101, 0}, {100, 2}, {6, 64}, {101, 0}, {100, 1}, {6, 64}, {101, 0}, {100, 0}, {6, 2}})
            t.push_back({0, 0, c, v});
        return t;
    }();
    auto on = [&](uint8_t channel, std::vector<Timed> rest) {
        std::vector<Timed> out = tuning;
        for (Timed& t : out) t.status = static_cast<uint8_t>(0xB0 | channel);
        out.insert(out.end(), rest.begin(), rest.end());
        return out;
    };
    struct Case {
        const char* what;
        Bytes track;
        bool unchanged;
        std::vector<Timed> result;
    };
    const std::vector<Case> cases = {
        {"program change present", Track({Ev(5, {0x92, 60, 1}), Ev(5, {0xC2, 7})}), true,
         on(2, {{5, 0x92, 60, 1}, {10, 0xC2, 7, 0}})},
        {"program change on another channel counts", Track({Ev(0, {0x92, 60, 1}), Ev(5, {0xC5, 7})}), true,
         on(2, {{0, 0x92, 60, 1}, {5, 0xC5, 7, 0}})},
        {"no program change", Track({Ev(5, {0x93, 60, 1})}), false,
         on(3, {{0, 0xC3, 0, 0}, {5, 0x93, 60, 1}})},
        {"drums lose their program changes",
         Track({Ev(0, {0x99, 36, 1}), Ev(5, {0xC9, 16}), Ev(5, {0x89, 36, 0})}), true,
         on(9, {{0, 0x99, 36, 1}, {10, 0x89, 36, 0}})},
    };
    for (const Case& c : cases) {
        Song s(Smf(1, 96, {Track({Tempo(0, 500000)}), c.track}));
        ASSERT_TRUE(s.loaded) << c.what;
        EXPECT_EQ(FixPatches(s.song), c.unchanged) << c.what;
        EXPECT_EQ(TimedEvents(s.song.Track(1)), c.result) << c.what;
    }
}

TEST(FixLength, AppendsControlChangeNineToEveryChannelTrack) {
    Song s(Smf(1, 96,
               {Track({Tempo(0, 500000)}), Track({Ev(5, {0x94, 60, 1})}), Track({}),
                Track({Ev(8, {0xE1, 0, 64})})}));
    ASSERT_TRUE(s.loaded);
    FixLength(s.song);
    EXPECT_EQ(TimedEvents(s.song.Track(1)), (std::vector<Timed>{{5, 0x94, 60, 1}, {5, 0xB4, 9, 0}}));
    EXPECT_EQ(s.song.TrackEventCount(2), 0u);
    EXPECT_EQ(TimedEvents(s.song.Track(3)), (std::vector<Timed>{{8, 0xE1, 0, 64}, {8, 0xB1, 9, 0}}));
    EXPECT_EQ(s.song.TrackEventCount(0), 1u);
}

TEST(FixTempo, SpreadsTempoEventsAndDropsRepeats) {
    struct Case {
        const char* what;
        Bytes track;
        bool unchanged;
        std::vector<uint64_t> times;
    };
    const std::vector<Case> cases = {
        {"a quarter apart already",
         Track({Tempo(0, 500000), Tempo(480, 400000), Tempo(480, 300000)}),
         true,
         {0, 480, 960}},
        {"two events too close", Track({Tempo(0, 500000), Tempo(100, 400000)}), false, {0, 480}},
        {"0, 100, 200: the second merges away, the third moves",
         Track({Tempo(0, 500000), Tempo(100, 400000), Tempo(100, 300000)}),
         false,
         {0, 480}},
        {"borrowing from the next",
         Track({Tempo(0, 500000), Tempo(100, 400000), Tempo(900, 300000)}),
         false,
         {0, 480, 1000}},
        {"last event too close",
         Track({Tempo(0, 500000), Tempo(480, 400000), Tempo(10, 300000)}),
         false,
         {0, 480, 960}},
        {"repeated value",
         Track({Tempo(0, 500000), Tempo(480, 500000), Tempo(480, 300000)}),
         false,
         {0, 960}},
        {"first value 0", Track({Tempo(0, 0), Tempo(480, 400000)}), false, {480}},
        {"single event", Track({Tempo(7, 500000)}), true, {7}},
    };
    for (const Case& c : cases) {
        Song s(Smf(1, 480, {c.track, Track({Ev(0, {0x90, 60, 1})})}));
        ASSERT_TRUE(s.loaded) << c.what;
        EXPECT_EQ(FixTempo(s.song), c.unchanged) << c.what;
        std::vector<uint64_t> times;
        for (const Timed& e : TimedEvents(s.song.Track(0))) times.push_back(e.time);
        EXPECT_EQ(times, c.times) << c.what;
    }
}

TEST(MidiSong, QueriesBeforeAndAfterLoading) {
    CMidiSong song;
    EXPECT_EQ(song.Format(), -1);
    EXPECT_EQ(song.Resolution(), -1);
    EXPECT_EQ(song.TrackCount(), -1);
    EXPECT_EQ(song.TrackEventCount(0), 0u);
    EXPECT_EQ(song.TrackChannel(0), 999);
    EXPECT_TRUE(DeleteEvents(song, kDeleteNotes));
    EXPECT_TRUE(song.Serialize().empty());
    EXPECT_EQ(song.Load("/nonexistent/missing.mid").code, ErrorCode::OpenInput);

    Song s(Smf(1, 0xE728, {Track({Tempo(0, 500000)}), Track({Ev(0, {0x95, 60, 1})})}));
    ASSERT_TRUE(s.loaded);
    EXPECT_EQ(s.song.Resolution(), 500);  // SMPTE 25 fps x 40
    EXPECT_EQ(s.song.TrackChannel(1), 5);
    EXPECT_EQ(s.song.TrackChannel(2), 999);
}
