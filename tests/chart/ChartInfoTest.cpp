// The chart information segment: layout, strings, note records and damaged input.

#include <gtest/gtest.h>

#include "chart/ChartInfo.h"
#include "support/TestChart.h"

namespace {

std::vector<uint8_t> InfoBytes(const CChart& chart) {
    ByteWriter out;
    WriteChartInfo(chart, out);
    WriteTrackBlock(chart.player, out);
    return out.Data();
}

// Offset of track block `index` (16 = the player block) in a segment with empty strings and
// empty tracks before it.
constexpr std::size_t kFirstBlock = 4 + 1 + 1 + 4 + 1 + 1023;

}  // namespace

TEST(ChartInfo, EmptyChartTakes1408Bytes) {
    CChart chart;
    EXPECT_EQ(InfoBytes(chart).size(), 1408u);
}

TEST(ChartInfo, FixedFieldsAndBlockHeaders) {
    CChart chart;
    chart.songInfo.genre = 7;
    chart.songInfo.currentTrack = 2;
    chart.songInfo.level = 9;
    chart.songLengthMs = 0x01020304;
    chart.tracks[0].instrument = kDrumInstrument;
    chart.tracks[1].instrument = 25;
    std::vector<uint8_t> bytes = InfoBytes(chart);
    EXPECT_EQ(bytes[4], 7);
    EXPECT_EQ(bytes[5], 2);
    EXPECT_EQ((std::vector<uint8_t>{bytes[6], bytes[7], bytes[8], bytes[9]}),
              (std::vector<uint8_t>{4, 3, 2, 1}));
    EXPECT_EQ(bytes[10], 9);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + kFirstBlock, bytes.begin() + kFirstBlock + 4)),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x80}));
    EXPECT_EQ(bytes[kFirstBlock + 22], 25);
}

TEST(ChartInfo, NoteRecordPacksFlagsLaneAndTrack) {
    struct Case {
        bool selected;
        uint16_t lane;
        uint16_t track;
        bool longNote;
        uint8_t byte11;
        uint8_t byte12;
    };
    for (Case c : {Case{true, 5, 3, true, 0xD3, 0x80}, Case{false, 0, 0, false, 0x00, 0x00},
                   Case{false, 6, 15, false, 0x6F, 0x00}, Case{true, 7, 9, false, 0xF9, 0x00}}) {
        CChart chart;
        CNote note = MakeNote(0x11223344, 61, c.track, 0x55);
        note.selected = c.selected;
        note.lane = c.lane;
        note.longNote = c.longNote;
        chart.tracks[0].Append(note);
        std::vector<uint8_t> bytes = InfoBytes(chart);
        const std::size_t record = kFirstBlock + 22;
        EXPECT_EQ(bytes[kFirstBlock + 4], 1);  // count, low byte first
        EXPECT_EQ(bytes[record + 0], 0x44);
        EXPECT_EQ(bytes[record + 3], 0x11);
        EXPECT_EQ(bytes[record + 4], 0x55);
        EXPECT_EQ(bytes[record + 8], note.status);
        EXPECT_EQ(bytes[record + 9], 61);
        EXPECT_EQ(bytes[record + 10], 100);
        EXPECT_EQ(bytes[record + 11], c.byte11);
        EXPECT_EQ(bytes[record + 12], c.byte12);

        CChart read;
        ASSERT_TRUE(ReadChartInfoSegment(bytes, read));
        EXPECT_EQ(read.tracks[0].At(0).selected, c.selected);
        EXPECT_EQ(read.tracks[0].At(0).lane, c.lane);
        EXPECT_EQ(read.tracks[0].At(0).track, c.track);
        EXPECT_EQ(read.tracks[0].At(0).longNote, c.longNote);
    }
}

TEST(ChartInfo, WriteThenReadGivesTheSameChart) {
    CChart chart = MakeSampleChart();
    CChart read;
    ASSERT_TRUE(ReadChartInfoSegment(InfoBytes(chart), read));
    ExpectSameStoredChart(chart, read);
}

TEST(ChartInfo, UsedTrackCountCountsNonEmptyBlocksWhereverTheyAre) {
    CChart chart;
    chart.tracks[2].Append(MakeNote(0, 60, 2));
    chart.tracks[9].Append(MakeNote(0, 60, 9));
    CChart read;
    ASSERT_TRUE(ReadChartInfoSegment(InfoBytes(chart), read));
    EXPECT_EQ(read.usedTrackCount, 2);
}

TEST(ChartInfo, LongStringsAreCutAtACharacterBoundary) {
    const std::string e = "\xC3\xA9";        // é, two bytes
    const std::string yen = "\xE2\x82\xAC";  // €, three bytes
    struct Case {
        std::string text;
        std::size_t stored;
    };
    for (const Case& c : {Case{std::string(127, 'a'), 127}, Case{std::string(128, 'a'), 127},
                          Case{std::string(300, 'a'), 127}, Case{std::string(126, 'a') + e, 126},
                          Case{std::string(125, 'a') + e + "b", 127}, Case{std::string(125, 'a') + yen, 125},
                          Case{std::string(124, 'a') + yen + "zz", 127}, Case{"", 0}}) {
        EXPECT_EQ(StorableString(c.text).size(), c.stored) << c.text.size();
        CChart chart;
        chart.songInfo.title = c.text;
        std::vector<uint8_t> bytes = InfoBytes(chart);
        EXPECT_EQ(bytes[0], c.stored);
        CChart read;
        ASSERT_TRUE(ReadChartInfoSegment(bytes, read));
        EXPECT_EQ(read.songInfo.title, c.text.substr(0, c.stored));
    }
}

TEST(ChartInfo, LengthBytesAbove127AreReadAsStored) {
    CChart chart;
    std::vector<uint8_t> bytes = InfoBytes(chart);
    // Title of 200 bytes, as an older writer without a limit would have stored it.
    bytes[0] = 200;
    std::vector<uint8_t> title(200, 'x');
    bytes.insert(bytes.begin() + 1, title.begin(), title.end());
    CChart read;
    ASSERT_TRUE(ReadChartInfoSegment(bytes, read));
    EXPECT_EQ(read.songInfo.title, std::string(200, 'x'));
    EXPECT_EQ(read.songInfo.composer, "");
}

TEST(ChartInfo, EveryTruncationFailsCleanly) {
    CChart chart = MakeSampleChart();
    std::vector<uint8_t> bytes = InfoBytes(chart);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        CChart read;
        Status status = ReadChartInfoSegment(std::span<const uint8_t>(bytes).first(size), read);
        ASSERT_EQ(status.code, ErrorCode::TruncatedInfo) << size;
    }
}

TEST(ChartInfo, ACountBeyondTheSegmentIsRefusedBeforeAnyNoteIsRead) {
    CChart chart;
    std::vector<uint8_t> bytes = InfoBytes(chart);
    bytes[kFirstBlock + 22 * 5 + 4] = 0xFF;  // track 5 claims 65535 notes
    bytes[kFirstBlock + 22 * 5 + 5] = 0xFF;
    CChart read;
    Status status = ReadChartInfoSegment(bytes, read);
    EXPECT_EQ(status.code, ErrorCode::TruncatedInfo);
    EXPECT_EQ(status.part, "track 6");
    EXPECT_EQ(read.tracks[5].Count(), 0u);
}

TEST(ChartInfo, StorableChecksEveryTrackAndThePlayerCount) {
    CChart chart;
    EXPECT_TRUE(CheckStorable(chart, 65535));
    EXPECT_EQ(CheckStorable(chart, 65536).code, ErrorCode::TooManyNotes);
    for (uint32_t i = 0; i < 65536; ++i) chart.tracks[7].Append(MakeNote(static_cast<int32_t>(i), 60, 7));
    Status status = CheckStorable(chart, 0);
    EXPECT_EQ(status.code, ErrorCode::TooManyNotes);
    EXPECT_EQ(status.Message(), "A track holds more than 65535 notes and cannot be saved (track 8)");
}
