// The star rating against hand-worked sequences: a single note, two notes, a stream in one
// column, a chord, a hold with a note inside it across a section boundary; the sort osu! uses;
// the level suggestion.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "difficulty/LegacySort.h"
#include "difficulty/StarRating.h"
#include "support/TestChart.h"

namespace {

ManiaNote Tap(int64_t ms, int column) { return {ms, ms, column}; }

}  // namespace

TEST(StarRating, HandWorkedSequences) {
    const double p01 = std::pow(0.3, 0.1);    // overall decay over 100 ms
    const double c01 = std::pow(0.125, 0.1);  // column decay over 100 ms
    struct Case {
        const char* name;
        std::vector<ManiaNote> notes;
        double stars;
    };
    const Case cases[] = {
        {"a single note", {Tap(0, 0)}, 0},
        // The second note: column 0 + 2, overall 1 decayed over a second + 1.
        {"two notes", {Tap(0, 0), Tap(1000, 0)}, (2 + 0.3 + 1) * 0.018},
        // 100 ms apart in one column: the third note's strain is the section's peak.
        {"a stream", {Tap(0, 0), Tap(100, 0), Tap(200, 0)}, ((2 * c01 + 2) + ((p01 + 1) * p01 + 1)) * 0.018},
        // A chord of two after a note: the second of the chord adds to the overall strain again
        // and keeps the chord's largest column strain.
        {"a chord", {Tap(0, 0), Tap(500, 1), Tap(500, 2)}, (2 + (std::pow(0.3, 0.5) + 1) + 1) * 0.018},
        // A hold from 100 to 1000 ms, then a note inside it at 500 ms: the note's strains weigh
        // 1.25; the note falls in the second section, which starts from the strain decayed to
        // 400 ms; the two section peaks are weighted 1 and 0.9.
        {"a hold with a note inside",
         {Tap(0, 6), {100, 1000, 0}, Tap(500, 1)},
         ((2.5 + ((p01 + 1) * std::pow(0.3, 0.4) + 1.25)) + 0.9 * (2 + p01 + 1)) * 0.018},
    };
    for (const Case& c : cases) EXPECT_NEAR(RateNotes(c.notes).stars, c.stars, 1e-9) << c.name;
}

TEST(StarRating, HoldsHeldTogetherAndReleasedApart) {
    // Hold A 100..1000 ms in column 0, then hold B from 200 ms in column 1.
    auto stars = [](int64_t bEnd) { return RateNotes({Tap(0, 6), {100, 1000, 0}, {200, bEnd, 1}}).stars; };
    const double p01 = std::pow(0.3, 0.1);
    const double aAlone = (p01 + 1) * p01;  // the overall strain before B adds to it
    auto bonus = [](double apartMs) { return 1 / (1 + std::exp(0.5 * (24 - apartMs))); };
    struct Case {
        int64_t bEnd;
        double stars;
    };
    const Case cases[] = {
        // B ends while A is still held: both of B's strains weigh 1.25.
        {600, (2.5 + aAlone + 1.25) * 0.018},
        // B goes on past A's end: releasing it apart from A earns the release bonus, small when
        // the two ends are 10 ms apart, about 1 when 200 ms apart.
        {1010, (2 + aAlone + 1 + bonus(10)) * 0.018},
        {1200, (2 + aAlone + 1 + bonus(200)) * 0.018},
        // Ending within a millisecond of A counts as together: no bonus, no weight.
        {1001, (2 + aAlone + 1) * 0.018},
    };
    for (const Case& c : cases) EXPECT_NEAR(stars(c.bEnd), c.stars, 1e-9) << c.bEnd;
}

TEST(StarRating, TheLegacySortOrdersByTimeAndTheLevelFollowsTheStars) {
    std::mt19937 random(7);
    for (int n : {2, 3, 17, 100, 5000}) {
        std::vector<ManiaNote> notes;
        for (int i = 0; i < n; ++i) notes.push_back(Tap(random() % 50 * 10, static_cast<int>(random() % 7)));
        LegacySort(notes, [](const ManiaNote& a, const ManiaNote& b) { return static_cast<int>(a.startMs - b.startMs); });
        EXPECT_TRUE(std::is_sorted(notes.begin(), notes.end(),
                                   [](const ManiaNote& a, const ManiaNote& b) { return a.startMs < b.startMs; }))
            << n;
    }
    for (auto [stars, level] : {std::pair{0.0, 1}, std::pair{0.9, 1}, std::pair{1.0, 2}, std::pair{3.42, 5},
                                std::pair{6.3, 9}, std::pair{6.7, 10}, std::pair{12.0, 10}})
        EXPECT_EQ(SuggestedLevel(stars), level) << stars;
}
