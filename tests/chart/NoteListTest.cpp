// The sorted note list behind the selection.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "chart/NoteList.h"
#include "support/TestChart.h"

namespace {
std::vector<int32_t> Times(const CNoteList& list) {
    std::vector<int32_t> times;
    for (const CNote& note : list.Notes()) times.push_back(note.time);
    return times;
}
}  // namespace

TEST(NoteList, AddSortedPutsANewNoteBeforeNotesOfTheSameTime) {
    CNoteList list;
    list.AddSorted(MakeNote(100, 60));
    list.AddSorted(MakeNote(50, 61));
    list.AddSorted(MakeNote(200, 62));
    EXPECT_EQ(list.AddSorted(MakeNote(100, 63)), 1);
    EXPECT_EQ(Times(list), (std::vector<int32_t>{50, 100, 100, 200}));
    EXPECT_EQ(list.GetAt(1).key, 63);
    EXPECT_EQ(list.GetAt(2).key, 60);
    EXPECT_EQ(list.AddSorted(MakeNote(300, 64)), 4);
}

TEST(NoteList, FindLooksOnlyAtTheLowerBound) {
    CNoteList list;
    list.AddSorted(MakeNote(100, 60));
    list.AddSorted(MakeNote(100, 62));  // goes first among the notes at 100
    EXPECT_EQ(list.Find(MakeNote(100, 62)), 0);
    EXPECT_EQ(list.Find(MakeNote(100, 60)), -1);
    EXPECT_EQ(list.Find(MakeNote(99, 62)), -1);
    CNote otherVelocity = MakeNote(100, 62);
    otherVelocity.velocity = 1;
    EXPECT_EQ(list.Find(otherVelocity), -1);
    EXPECT_EQ(list.LowerBound(101), 2);
    EXPECT_EQ(CNoteList().LowerBound(5), 0);
}

TEST(NoteList, SortOrdersByTimeForEveryThresholdAndShape) {
    std::mt19937 random(7);
    for (int threshold : {0, 1, 2, 64, 1000}) {
        for (int size : {0, 1, 2, 3, 10, 64, 65, 500, 5000}) {
            for (int spread : {3, 1000000}) {  // many equal times, then mostly distinct
                CNoteList list;
                list.sortThreshold = threshold;
                std::vector<int32_t> expected;
                for (int i = 0; i < size; ++i) {
                    int32_t t = static_cast<int32_t>(random() % static_cast<unsigned>(spread));
                    list.InsertAt(list.GetSize(), MakeNote(t, static_cast<uint8_t>(i % 128)));
                    expected.push_back(t);
                }
                list.Sort();
                std::sort(expected.begin(), expected.end());
                EXPECT_EQ(Times(list), expected) << threshold << " " << size << " " << spread;
            }
        }
    }
}

TEST(NoteList, RemoveAtIgnoresIndicesOutsideTheList) {
    CNoteList list;
    list.Add(MakeNote(1, 60));
    list.RemoveAt(5);
    list.RemoveAt(-1);
    EXPECT_EQ(list.GetSize(), 1);
    list.RemoveAt(0);
    EXPECT_EQ(list.GetSize(), 0);
}
