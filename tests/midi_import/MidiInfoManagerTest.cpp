// The instrument list: parsing, look-ups and the list shipped with the program.

#include <gtest/gtest.h>

#include <string_view>

#include "midi_import/MidiInfoManager.h"

namespace {
constexpr int32_t kDrumInstrumentCode = INT32_MIN;

CMidiInfoManager ParseText(std::string_view text) {
    return CMidiInfoManager::Parse({text.data(), text.size()});
}
}  // namespace

TEST(MidiInfoManager, ParsesCodesAndNames) {
    CMidiInfoManager list = ParseText("19 Pad Sweep\r\n80000000\t Drums\nff\n  2   Two words  \n19 Second\n");
    ASSERT_EQ(list.codes.size(), CMidiInfoManager::kEntries);
    EXPECT_EQ(list.codes[0], 25);
    EXPECT_EQ(list.names[0], "Pad Sweep");
    EXPECT_EQ(list.codes[1], kDrumInstrumentCode);
    EXPECT_EQ(list.names[1], "Drums");
    EXPECT_EQ(list.names[2], "");
    EXPECT_EQ(list.names[3], "Two words  ");
    EXPECT_EQ(list.NameOf(25), "Pad Sweep");  // the first of two
    EXPECT_EQ(list.NameOf(2), "Two words  ");
    EXPECT_EQ(list.NameOf(99), "");
}

TEST(MidiInfoManager, ShortOrDamagedListsNeverReadPastTheText) {
    for (std::string_view text : {"", "7", "zz name\n", "\n\n\n", "1 a\r"}) {
        CMidiInfoManager parsed = ParseText(text);
        EXPECT_EQ(parsed.codes.size(), CMidiInfoManager::kEntries) << text;
        EXPECT_EQ(parsed.names.size(), CMidiInfoManager::kEntries) << text;
    }
    EXPECT_EQ(ParseText("zz name\n").names[0], "zz name");
    CMidiInfoManager list;
    EXPECT_EQ(CMidiInfoManager::Read("/nonexistent/Instlist.txt", list).code, ErrorCode::OpenInput);
}

TEST(MidiInfoManager, TheShippedListNamesEveryProgramAndTheDrums) {
    CMidiInfoManager list;
    ASSERT_TRUE(CMidiInfoManager::Read(RYX_SOURCE_DIR "/data/Instlist.txt", list));
    for (int32_t code = 0; code < 128; ++code) EXPECT_FALSE(list.NameOf(code).empty()) << code;
    EXPECT_EQ(list.NameOf(kDrumInstrumentCode), "Drums");
    EXPECT_EQ(list.NameOf(0), "Grand Piano");
}
