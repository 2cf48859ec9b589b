// ryxtool events, run in-process on MIDI files made by the tests.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/EventsCommand.h"
#include "midi_import/ConversionPipeline.h"
#include "support/SmfBuilder.h"
#include "support/TestFiles.h"

TEST(Events, PrintsHeaderTracksAndEventLines) {
    ScratchFolder folder;
    WriteBytes(folder / "song.mid", Smf(1, 480,
                                        {Track({Meta(0, 0x51, {0x07, 0xA1, 0x20}), EndOfTrack(960)}),
                                         Track({MetaText(0, 0x03, "Bass"), Ev(0, {0x90, 40, 90}),
                                                Ev(480, {0x80, 40, 0}), EndOfTrack()})}));
    std::ostringstream out, err;
    ASSERT_EQ(RunEvents(folder / "song.mid", out, err), 0) << err.str();
    EXPECT_EQ(out.str(),
              "format 1 tracks 2 division 480\n"
              "track 0\n"
              "       0 ed: 500000 microseconds per MIDI quarter note\n"
              "     960 ed: end of track\n"
              "track 1\n"
              "       0 ed: sequence or track name 'Bass'\n"
              "       0        0 144 40 90     0     0\n"
              "     480        0 128 40 0     0     0\n"
              "     480 ed: end of track\n");
}

TEST(Events, FilesThatCannotBeReadExitTwo) {
    ScratchFolder folder;
    WriteBytes(folder / "text.mid", Bytes{'h', 'e', 'l', 'l', 'o'});
    for (const char* name : {"missing.mid", "text.mid"}) {
        std::ostringstream out, err;
        EXPECT_EQ(RunEvents(folder / name, out, err), 2) << name;
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find(name), std::string::npos) << err.str();
    }
}

TEST(Events, ATrackCutShortIsReadAndWarnedOfHereAndInTheConversionLog) {
    ScratchFolder folder;
    const Bytes notes = Join({Ev(0, {0x90, 40, 90}), Ev(480, {0x80, 40, 0})});
    Bytes file = Join({Header(1, 2, 480), Track({Tempo(0, 500000), EndOfTrack()}),
                       Chunk("MTrk", notes, static_cast<int64_t>(notes.size()) + 40)});
    WriteBytes(folder / "cut.mid", file);
    const std::string warning =
        "Warning: track 1 ends before its declared length (the file is cut short); its events up to there are "
        "kept.";
    std::ostringstream out, err;
    ASSERT_EQ(RunEvents(folder / "cut.mid", out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "ryxtool: " + warning + "\n");
    EXPECT_NE(out.str().find("     480        0 128 40 0"), std::string::npos) << out.str();

    CChart chart;
    ConversionLog log;
    ASSERT_TRUE(ConvertSongBytes(file, chart, log));
    EXPECT_NE(log.Text().find(" -" + warning + "\r\n"), std::string::npos) << log.Text();
    EXPECT_EQ(chart.tracks[0].Count(), 1u);
}
