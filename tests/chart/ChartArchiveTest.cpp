// The chart file container: its layout, entry lookup, and malformed containers.

#include <gtest/gtest.h>

#include "chart/ChartArchive.h"
#include "io/ByteWriter.h"
#include "support/TestFiles.h"

namespace {

std::vector<uint8_t> Pattern(std::size_t size) {
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    return bytes;
}

struct Entry {
    uint32_t offset;
    std::string name;  // written into 16 bytes, zero-padded (no terminator when 16 long)
};

std::vector<uint8_t> Container(uint32_t count, const std::vector<Entry>& entries, std::size_t tail) {
    ByteWriter out;
    out.U32(count);
    for (const Entry& e : entries) {
        out.U32(e.offset);
        out.Bytes(e.name);
        out.Zeros(16 - e.name.size());
    }
    out.Zeros(tail);
    return out.Data();
}

}  // namespace

TEST(ChartArchive, WriterLayoutAndSegments) {
    for (std::size_t midiSize :
         {std::size_t{0}, std::size_t{100}, std::size_t{16384}, std::size_t{3 * 16384}, std::size_t{16385}}) {
        ScratchFolder folder;
        std::vector<uint8_t> inf = Pattern(1408);
        std::vector<uint8_t> mid = Pattern(midiSize);
        WriteBytes(folder / "inf.tmp", inf);
        WriteBytes(folder / "song.mid", mid);
        ASSERT_TRUE(WriteChartArchive(folder / "out.ryx", folder / "inf.tmp", folder / "song.mid"));

        std::vector<uint8_t> file = ReadBytes(folder / "out.ryx");
        ASSERT_EQ(file.size(), 64 + 1408 + midiSize);
        CChartArchive archive;
        ASSERT_TRUE(archive.Open(folder / "out.ryx"));
        ASSERT_EQ(archive.Entries().size(), 3u);
        EXPECT_EQ(archive.Entries()[0].name, "inf");
        EXPECT_EQ(archive.Entries()[0].offset, 64u);
        EXPECT_EQ(archive.Entries()[1].name, "mid");
        EXPECT_EQ(archive.Entries()[1].offset, 64u + 1408u);
        EXPECT_EQ(archive.Entries()[2].name, "EOF");
        EXPECT_EQ(archive.Entries()[2].offset, file.size());
        std::vector<uint8_t> segment;
        ASSERT_TRUE(archive.ReadSegment("mid", segment));
        EXPECT_EQ(segment, mid) << midiSize;
        // Bytes after each name's terminator are zero.
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 8, file.begin() + 24),
                  (std::vector<uint8_t>{'i', 'n', 'f', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"inf.tmp", "out.ryx", "song.mid"}));
    }
}

TEST(ChartArchive, NamesMatchWithoutCaseOverThirteenCharacters) {
    struct Case {
        const char* a;
        const char* b;
        bool match;
    };
    for (Case c :
         {Case{"inf", "INF", true}, Case{"Mid", "mid", true}, Case{"inf", "info", false},
          Case{"abcdefghijklmX", "abcdefghijklmY", true}, Case{"abcdefghijklX", "abcdefghijklY", false},
          Case{"", "", true}, Case{"inf", "", false}}) {
        EXPECT_EQ(ArchiveNamesMatch(c.a, c.b), c.match) << c.a << " / " << c.b;
    }
}

TEST(ChartArchive, FindsTheFirstMatchingEntry) {
    std::vector<uint8_t> bytes = Container(4, {{84, "INF"}, {86, "inf"}, {88, "MID"}, {90, "EOF"}}, 6);
    bytes[84] = 'a';
    bytes[86] = 'b';
    CChartArchive archive;
    ASSERT_TRUE(archive.OpenBytes(bytes));
    std::vector<uint8_t> segment;
    ASSERT_TRUE(archive.ReadSegment("inf", segment));
    EXPECT_EQ(segment, (std::vector<uint8_t>{'a', 0}));
}

TEST(ChartArchive, OpeningTwiceFailsAndKeepsTheOpenFile) {
    CChartArchive archive;
    ASSERT_TRUE(archive.OpenBytes(Container(2, {{44, "inf"}, {46, "EOF"}}, 2)));
    EXPECT_EQ(archive.OpenBytes(Container(0, {}, 0)).code, ErrorCode::AlreadyOpen);
    ScratchFolder folder;
    EXPECT_EQ(archive.Open(folder / "missing.ryx").code, ErrorCode::AlreadyOpen);
    std::vector<uint8_t> segment;
    EXPECT_TRUE(archive.ReadSegment("inf", segment));
    EXPECT_EQ(segment.size(), 2u);
}

TEST(ChartArchive, MalformedContainersFailWithoutReadingPastTheFile) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        ErrorCode open;      // result of OpenBytes
        ErrorCode segment;   // result of ReadSegment("inf") when the open succeeds
        std::string blamed;  // the entry the failure names
    };
    const std::vector<Case> cases = {
        {"empty file", {}, ErrorCode::NotAnArchive, ErrorCode::None, ""},
        {"three bytes", {3, 0, 0}, ErrorCode::NotAnArchive, ErrorCode::None, ""},
        {"huge entry count", Container(0xFFFFFFFF, {{64, "inf"}}, 100), ErrorCode::NotAnArchive,
         ErrorCode::None, ""},
        {"count one past the table", Container(3, {{64, "inf"}, {70, "mid"}}, 19), ErrorCode::NotAnArchive,
         ErrorCode::None, ""},
        {"no entries", Container(0, {}, 0), ErrorCode::None, ErrorCode::MissingSegment, "inf"},
        {"inf is the last entry", Container(1, {{24, "inf"}}, 10), ErrorCode::None,
         ErrorCode::SegmentWithoutEnd, "inf"},
        {"the next entry lies past the file", Container(3, {{64, "inf"}, {1000, "mid"}, {1001, "EOF"}}, 10),
         ErrorCode::None, ErrorCode::SegmentPastEnd, "mid"},
        {"segment starts past the file", Container(2, {{0xFFFFFFF0, "inf"}, {0xFFFFFFFF, "EOF"}}, 10),
         ErrorCode::None, ErrorCode::SegmentPastEnd, "inf"},
        {"segment runs backwards", Container(2, {{50, "inf"}, {44, "EOF"}}, 10), ErrorCode::None,
         ErrorCode::SegmentsOutOfOrder, "EOF"},
        {"name without terminator", Container(2, {{44, "infinfinfinfinfX"}, {46, "EOF"}}, 2), ErrorCode::None,
         ErrorCode::MissingSegment, "inf"},
    };
    for (const Case& c : cases) {
        CChartArchive archive;
        Status opened = archive.OpenBytes(c.bytes);
        EXPECT_EQ(opened.code, c.open) << c.what;
        EXPECT_EQ(archive.IsOpen(), opened.Ok()) << c.what;
        if (!opened) continue;
        std::vector<uint8_t> segment;
        Status read = archive.ReadSegment("inf", segment);
        EXPECT_EQ(read.code, c.segment) << c.what;
        EXPECT_EQ(read.part, c.blamed) << c.what;
    }
}

TEST(ChartArchive, FailuresOnDiskNameTheFileAndWhatIsWrong) {
    ScratchFolder folder;
    WriteBytes(folder / "bad.ryx", Container(3, {{64, "inf"}, {1000, "mid"}, {1001, "EOF"}}, 10));
    CChartArchive archive;
    ASSERT_TRUE(archive.Open(folder / "bad.ryx"));
    std::vector<uint8_t> segment;
    EXPECT_EQ(
        archive.ReadSegment("inf", segment).Message(),
        "The chart file is damaged: it ends before segment \"mid\" (" + PathText(folder / "bad.ryx") + ")");
    archive.Close();
    Status missing = archive.Open(folder / "none.ryx");
    EXPECT_EQ(missing.code, ErrorCode::OpenArchive);
    EXPECT_NE(missing.Message().find("No such file or directory"), std::string::npos) << missing.Message();
    EXPECT_EQ(archive.Open(folder.Path()).code, ErrorCode::ArchiveIsFolder);
    WriteBytes(folder / "short.ryx", {9, 0, 0, 0, 1});
    EXPECT_EQ(
        archive.Open(folder / "short.ryx").Message(),
        "Not a chart file: its entry table does not fit the file (" + PathText(folder / "short.ryx") + ")");
}

TEST(ChartArchive, ExtractWritesTheSegmentAndMissingNamesWriteNothing) {
    ScratchFolder folder;
    std::vector<uint8_t> bytes = Container(3, {{64, "inf"}, {67, "mid"}, {69, "EOF"}}, 5);
    bytes[64] = 1;
    bytes[67] = 2;
    CChartArchive archive;
    ASSERT_TRUE(archive.OpenBytes(bytes));
    ASSERT_TRUE(archive.Extract("MID", folder / "mid.tmp"));
    EXPECT_EQ(ReadBytes(folder / "mid.tmp"), (std::vector<uint8_t>{2, 0}));
    EXPECT_EQ(archive.Extract("xyz", folder / "xyz.tmp").code, ErrorCode::MissingSegment);
    EXPECT_EQ(archive.Extract("EOF", folder / "eof.tmp").code, ErrorCode::SegmentWithoutEnd);
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"mid.tmp"}));
}

TEST(ChartArchive, UnreadableInputsAreReported) {
    ScratchFolder folder;
    WriteBytes(folder / "inf.tmp", Pattern(10));
    Status status = WriteChartArchive(folder / "out.ryx", folder / "inf.tmp", folder / "missing.mid");
    EXPECT_EQ(status.code, ErrorCode::ReadInput);
    EXPECT_EQ(status.Message().rfind("Error reading input file", 0), 0u);
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"inf.tmp"}));
}
