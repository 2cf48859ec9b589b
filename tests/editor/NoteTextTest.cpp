// The window's texts about time and notes: minutes and seconds, pitch names, a note's details.

#include <gtest/gtest.h>

#include "editor/NoteText.h"
#include "support/TestChart.h"

TEST(NoteText, MinutesSecondsAndPitchNames) {
    struct Time {
        double ms;
        bool tenths;
        const char* text;
    };
    for (const Time& t : {Time{83450, true, "1:23.4"}, Time{195000, false, "3:15"}, Time{194001, false, "3:15"},
                          Time{194000, false, "3:14"}, Time{-5, true, "0:00.0"}, Time{3599999, true, "59:59.9"},
                          Time{3600000, true, "60:00.0"}, Time{99.9, true, "0:00.0"}, Time{100, true, "0:00.1"}})
        EXPECT_EQ(MinutesSeconds(t.ms, t.tenths), t.text) << t.ms;
    for (auto [key, name] : {std::pair{60, "C4"}, std::pair{61, "C#4"}, std::pair{0, "C-1"}, std::pair{127, "G9"},
                             std::pair{69, "A4"}, std::pair{59, "B3"}})
        EXPECT_EQ(PitchName(static_cast<uint8_t>(key)), name) << key;
}

TEST(NoteText, DetailsOfANoteOfEachKind) {
    CChart chart;
    CNote note = MakeNote(768 * 5 + 384, 61, 1, 384);  // measure 2, beat 2 and a half, half a beat
    note.velocity = 96;
    note.lane = 3;
    EXPECT_EQ(NoteDetails(chart, note, false, "Finger Bass"),
              "Track 2 Finger Bass: C#4, 2:2, 0.5 beats, vel. 96, lane 4");
    note.length = 768;
    note.track = 9;
    EXPECT_EQ(NoteDetails(chart, note, true, ""), "Track 10: C#4, 2:2, 1 beat, vel. 96, lane 4, player note");
    note.length = 768 * 3;
    EXPECT_EQ(NoteDetails(chart, note, true, "Drums"), "Track 10 Drums: C#4, 2:2, 3 beats, vel. 96, lane 4, player note");
}
