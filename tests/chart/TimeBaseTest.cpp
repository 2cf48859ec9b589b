// The time base: tempo in force, milliseconds at a tick (exact and as conversions store them)
// and the tick at a time, over tables of tempo maps.

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "chart/TimeBase.h"

TEST(TimeBase, TempoAndTimeBothWaysOverTempoMaps) {
    struct Case {
        const char* what;
        std::vector<TimeBase::TempoChange> changes;
        int ticksPerQuarter;
        std::vector<std::tuple<int64_t, uint32_t, double>> points;  // tick, tempo there, ms there
    };
    const std::vector<Case> cases = {
        {"no change: 120 bpm", {}, 768, {{0, 500000, 0}, {768, 500000, 500}, {7680, 500000, 5000}}},
        {"before the first change it is 120 bpm",
         {{960, 250000}},
         480,
         {{0, 500000, 0}, {480, 500000, 500}, {960, 250000, 1000}, {1440, 250000, 1250}}},
        {"several changes, one at 0",
         {{0, 600000}, {768, 300000}, {1536, 1000000}},
         768,
         {{384, 600000, 300}, {768, 300000, 600}, {1536, 1000000, 900}, {2304, 1000000, 1900}}},
        {"two changes at one tick: the later holds", {{0, 400000}, {0, 800000}}, 96, {{96, 800000, 800}}},
    };
    for (const Case& c : cases) {
        const TimeBase time(c.changes, c.ticksPerQuarter);
        for (const auto& [tick, tempo, ms] : c.points) {
            EXPECT_EQ(time.TempoAt(tick), tempo) << c.what << " at " << tick;
            EXPECT_NEAR(time.MsAt(tick), ms, 1e-9) << c.what << " at " << tick;
            EXPECT_EQ(time.TickAtMs(time.MsAt(tick)), tick) << c.what << " at " << tick;
        }
    }
    // Between ticks, the tick whose time has been reached.
    const TimeBase plain;
    EXPECT_EQ(plain.TickAtMs(0.6), 0);   // a tick is 0.651 ms at 120 bpm
    EXPECT_EQ(plain.TickAtMs(0.66), 1);
    EXPECT_EQ(plain.TickAtMs(-1), -1);
    EXPECT_EQ(plain.TickAtMs(1e300), INT64_MAX);
    // Far out, where doubles no longer tell ticks apart, it answers at once.
    const int64_t far = TimeBase({{0, 1}}, 768).TickAtMs(1e13);
    EXPECT_GT(far, int64_t{1} << 60);
    // Time that stands still forever never reaches a later tick.
    EXPECT_EQ(TimeBase({{768, 0}}, 768).TickAtMs(501), INT64_MAX);
}

TEST(TimeBase, RoundedMillisecondsAddUpStretchesRoundedHalvesUp) {
    // 1/3 ms a tick: each stretch rounds on its own, so 3 stretches of 1 tick round to 0 each
    // while the exact time is 1 ms.
    const TimeBase time({{0, 333333}, {1, 333333}, {2, 333333}}, 1000);
    EXPECT_EQ(time.RoundedMsAt(3), 0);
    EXPECT_NEAR(time.MsAt(3), 1.0, 1e-3);
    // Halves round up: 1.5 ms is 2.
    const TimeBase half({}, 1000);  // 0.5 ms a tick
    EXPECT_EQ(half.RoundedMsAt(3), 2);
    EXPECT_EQ(half.RoundedMsAt(2), 1);
}

TEST(TimeBase, ChartTicksOfFileTicks) {
    EXPECT_EQ(ChartTicksOf(480, 480), 768);
    EXPECT_EQ(ChartTicksOf(1, 480), 1);       // 1.6 rounds down
    EXPECT_EQ(ChartTicksOf(96, 0), 768);      // no resolution reads as 96
    EXPECT_EQ(ChartTicksOf(INT64_MAX / 768 * 96, 96), INT64_MAX / 768 * 768);  // no overflow
}
