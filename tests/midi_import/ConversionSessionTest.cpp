// Whole conversions through the session: golden logs, progress, button states, hooks and
// temporary files.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "io/FaultyFileSystem.h"
#include "midi_import/ConversionSession.h"
#include "midi_import/SmfFile.h"
#include "support/SmfBuilder.h"
#include "support/TestFiles.h"

namespace {

struct Conversion {
    explicit Conversion(const Bytes& file, std::filesystem::path tempDir = {})
        : session(chart, tempDir.empty() ? temp.Path() : tempDir, Hooks()) {
        WriteBytes(folder / "song.mid", file);
        session.Prepare(folder / "song.mid", "song");
    }
    ConversionHooks Hooks() {
        ConversionHooks hooks;
        hooks.stopPlayback = [this] { calls += "stop "; };
        hooks.clearTrackList = [this] { calls += "clear "; };
        hooks.showLoadedChart = [this](const CChart&) { calls += "show "; };
        return hooks;
    }
    ScratchFolder folder, temp;
    CChart chart;
    std::string calls;
    ConversionSession session;
};

const std::string kConversionTail =
    "\r\nRead MIDI Information...\r\n"
    "MIDI Info Manager Create...\r\n"
    "Convert to RYX...\r\n"
    "Insert RYX Information...\r\n"
    "Delete Junk Info...\r\n"
    "Create Tempo Manager...\r\n"
    "\r\nRYX Convert Finished. Press 'OK'";

}  // namespace

TEST(ConversionSession, GoldenLogsOfWholeConversions) {
    struct Case {
        const char* what;
        Bytes file;
        std::string log;
    };
    const Bytes notes = Track({Ev(0, {0xC0, 1}), Ev(0, {0x90, 60, 100}), Ev(480, {0x80, 60, 0})});
    const Bytes gmReset = Ev(0, {0xF0, 5, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    const Bytes conductor =
        Track({MetaText(0, 0x03, "Conductor"), Tempo(0, 500000), Meta(0, 0x58, {4, 2, 24, 8}), gmReset});
    const std::string formatOneChecks =
        "'song' convert to RYX. Press 'OK'\r\n"
        "\r\nMIDI Format Check...\r\n -MIDI Format 1.\r\n"
        "\r\nDelete Junk Messages...\r\n -Delete SysEx Messages.\r\n"
        "\r\nInstrument Patch Error Check...\r\n -MIDI doesn't have Patch Error.\r\n"
        "\r\nLength Error Check...\r\n -Music Length Error Corrected.\r\n"
        "\r\nTempo Error Check...\r\n -MIDI doesn't have Tempo Error.\r\n"
        "\r\nCheck Track Nums...\r\n";
    const std::vector<Case> cases = {
        {"format 0 with system exclusive and drums",
         Smf(0, 480,
             {Track({Tempo(0, 500000), Ev(0, {0xF0, 1, 0xF7}), Ev(0, {0x90, 60, 100}), Ev(0, {0x99, 36, 100}),
                     Ev(480, {0x80, 60, 0}), Ev(0, {0x89, 36, 0})})}),
         "'song' convert to RYX. Press 'OK'\r\n"
         "\r\nMIDI Format Check...\r\n -MIDI Format 0. Converted to Format 1.\r\n"
         "\r\nDelete Junk Messages...\r\n -MIDI doesn't have Junk Message\r\n"
         "\r\nInstrument Patch Error Check...\r\n -Instrument Patch Corrected.\r\n"
         "\r\nLength Error Check...\r\n -Music Length Error Corrected.\r\n"
         "\r\nTempo Error Check...\r\n -MIDI doesn't have Tempo Error.\r\n"
         "\r\nCheck Track Nums...\r\n -MIDI has 16 Tracks.\r\n" +
             kConversionTail},
        {"format 1 with junk and close tempo changes",
         Smf(1, 480,
             {Track({Tempo(0, 500000), Tempo(100, 400000)}),
              Track({Ev(0, {0xB0, 0, 1}), Ev(0, {0xF0, 1, 0xF7}), Ev(0, {0xC0, 1}), Ev(0, {0x90, 60, 100}),
                     Ev(480, {0x80, 60, 0})})}),
         "'song' convert to RYX. Press 'OK'\r\n"
         "\r\nMIDI Format Check...\r\n -MIDI Format 1.\r\n"
         "\r\nDelete Junk Messages...\r\n -Delete SysEx Messages.\r\n -Delete Bank Messages..\r\n"
         "\r\nInstrument Patch Error Check...\r\n -MIDI doesn't have Patch Error.\r\n"
         "\r\nLength Error Check...\r\n -Music Length Error Corrected.\r\n"
         "\r\nTempo Error Check...\r\n -Tempo Error Corrected.\r\n"
         "\r\nCheck Track Nums...\r\n -MIDI has 1 Tracks.\r\n" +
             kConversionTail},
        {"18 tracks",
         Smf(1, 96,
             {Track({Tempo(0, 500000)}), notes, notes, notes, notes, notes, notes, notes, notes, notes, notes,
              notes, notes, notes, notes, notes, notes, notes}),
         "'song' convert to RYX. Press 'OK'\r\n"
         "\r\nMIDI Format Check...\r\n -MIDI Format 1.\r\n"
         "\r\nDelete Junk Messages...\r\n -MIDI doesn't have Junk Message\r\n"
         "\r\nInstrument Patch Error Check...\r\n -MIDI doesn't have Patch Error.\r\n"
         "\r\nLength Error Check...\r\n -Music Length Error Corrected.\r\n"
         "\r\nTempo Error Check...\r\n -MIDI doesn't have Tempo Error.\r\n"
         "\r\nCheck Track Nums...\r\n -MIDI track is over 16.\r\n" +
             kConversionTail},
        // A GM reset in the tempo track stays there for the junk check and adds no track.
        {"tempo track with a name, a time signature and a GM reset", Smf(1, 96, {conductor, notes}),
         formatOneChecks + " -MIDI has 1 Tracks.\r\n" + kConversionTail},
        {"16 channel tracks and a GM reset",
         Smf(1, 96,
             {conductor, notes, notes, notes, notes, notes, notes, notes, notes, notes, notes, notes, notes,
              notes, notes, notes, notes}),
         formatOneChecks + " -MIDI has 16 Tracks.\r\n" + kConversionTail},
    };
    for (const Case& c : cases) {
        Conversion run(c.file);
        EXPECT_EQ(run.session.Ok(), ConversionSession::Outcome::Converted) << c.what;
        EXPECT_EQ(run.session.log.Text(), c.log) << c.what;
        EXPECT_EQ(run.session.log.ProgressPos(), 13);
        EXPECT_EQ(run.session.log.Status(), "RYX Convert Finished");
        EXPECT_EQ(run.session.state, ConversionSession::State::Converted);
        EXPECT_TRUE(run.session.okEnabled);
        EXPECT_FALSE(run.session.cancelEnabled);
        EXPECT_EQ(run.calls, "stop clear show ");
    }
}

TEST(ConversionSession, StopsOnFilesItCannotConvert) {
    struct Case {
        const char* what;
        Bytes file;
        std::string lastLine;
        int progress;
    };
    for (const Case& c : {Case{"not a MIDI file", Bytes(50, 'x'),
                               " -\r\nUser Selected File is not MIDI file. (MIDI Header Error)", 0},
                          Case{"larger than any song", Bytes((64 << 20) + 1, 'M'),
                               " -\r\nUser Selected File is larger than 64 MiB; no MIDI song is that large. "
                               "Convert Canceled.",
                               0},
                          Case{"format 2", Smf(2, 96, {Track({Ev(0, {0x90, 60, 1})})}),
                               " -MIDI Format 2. Convert Canceled.", 1}}) {
        Conversion run(c.file);
        EXPECT_EQ(run.session.Ok(), ConversionSession::Outcome::Stopped) << c.what;
        const std::string& log = run.session.log.Text();
        EXPECT_EQ(log.substr(log.size() - c.lastLine.size()), c.lastLine) << c.what;
        EXPECT_EQ(run.session.log.ProgressPos(), c.progress) << c.what;
        EXPECT_FALSE(run.session.okEnabled);
        EXPECT_TRUE(run.session.cancelEnabled);
        EXPECT_EQ(run.session.state, ConversionSession::State::Prepared);
        EXPECT_EQ(run.calls, "");
    }
}

TEST(ConversionSession, FinishWritesTheSongWithoutNotes) {
    Conversion run(Smf(1, 480,
                       {Track({Tempo(0, 600000), Tempo(960, 400000)}),
                        Track({Ev(0, {0xC0, 1}), Ev(0, {0x90, 60, 100}), Ev(480, {0x80, 60, 0})})}));
    ASSERT_EQ(run.session.Ok(), ConversionSession::Outcome::Converted);
    EXPECT_EQ(run.chart.usedTrackCount, 1);
    EXPECT_EQ(run.chart.songInfo.composer, "Unknown");
    ASSERT_EQ(run.chart.tempoMap.Entries().size(), 2u);
    EXPECT_EQ(run.chart.tempoMap.Entries()[1].tick, 960u);
    EXPECT_EQ(run.chart.tempoMap.SongResolution(), 480);
    EXPECT_EQ(run.session.path, run.temp / "Prefix.tmp");

    ASSERT_EQ(run.session.Ok(), ConversionSession::Outcome::Finished);
    EXPECT_EQ(run.chart.songInfo.midiPath, (run.temp / "afterfix.tmp").string());
    CSmfFile accompaniment;
    ASSERT_TRUE(accompaniment.Read(run.temp / "afterfix.tmp"));
    ASSERT_EQ(accompaniment.trackCount, 2);
    for (const CNote& event : *accompaniment.TrackEvents(1))
        EXPECT_FALSE(event.status >= 0x80 && event.status <= 0x9F);
}

TEST(ConversionSession, ATemporaryFileThatCannotBeWrittenStopsTheConversion) {
    using Fault = FaultyFileSystem::Fault;
    struct Case {
        const char* name;
        Fault fault;
        int oks;  // OKs until the write that fails
    };
    for (Case c :
         {Case{"Prefix.tmp", Fault::CreateFails, 1}, Case{"Prefix.tmp", Fault::WriteFailsAfter, 1},
          Case{"afterfix.tmp", Fault::RenameFails, 2}, Case{"afterfix.tmp", Fault::WriteFailsAfter, 2}}) {
        ScratchFolder folder, temp;
        WriteBytes(
            folder / "song.mid",
            Smf(1, 96, {Track({Tempo(0, 500000)}), Track({Ev(0, {0x90, 60, 1}), Ev(96, {0x80, 60, 0})})}));
        FaultyFileSystem faulty(c.fault, 10);
        faulty.onlyNamesContaining = c.name;
        CChart chart;
        chart.songInfo.midiPath = "previous song";
        ConversionSession session(chart, temp.Path(), {}, faulty);
        session.Prepare(folder / "song.mid", "song");
        if (c.oks == 2) {
            ASSERT_EQ(session.Ok(), ConversionSession::Outcome::Converted) << c.name;
        }
        EXPECT_EQ(session.Ok(), ConversionSession::Outcome::Stopped) << c.name;
        const std::string& log = session.log.Text();
        EXPECT_NE(log.find(std::string("Unable to write the temporary file \"") + c.name + "\""),
                  std::string::npos)
            << log;
        EXPECT_EQ(log.find("Read MIDI Information") == std::string::npos, c.oks == 1) << c.name;
        EXPECT_TRUE(session.cancelEnabled);
        EXPECT_FALSE(std::filesystem::exists(temp / c.name)) << c.name;
        // A failed write never leaves the chart naming a song: before the conversion the old
        // one stays, after it none is named until the accompaniment is written.
        EXPECT_EQ(chart.songInfo.midiPath, c.oks == 1 ? "previous song" : "") << c.name;
        EXPECT_EQ(temp.FileNames().size(), c.oks == 1 ? 0u : 1u) << c.name;
    }
}

TEST(ConversionSession, ATrackTooLargeToSaveIsConvertedAndNamedInTheLog) {
    Bytes events;
    for (int i = 0; i < 65536; ++i) {
        const uint8_t key = static_cast<uint8_t>(40 + i % 40);
        for (const Bytes& e : {Ev(0, {0x90, key, 90}), Ev(10, {0x80, key, 0})})
            events.insert(events.end(), e.begin(), e.end());
    }
    Conversion run(Smf(1, 96, {Track({Tempo(0, 500000)}), Track({Ev(0, {0xC0, 1}), events})}));
    ASSERT_EQ(run.session.Ok(), ConversionSession::Outcome::Converted);
    EXPECT_EQ(run.chart.tracks[0].Count(), 65536u);
    // Said last, right before the end of the conversion.
    const std::string& log = run.session.log.Text();
    const std::size_t said = log.find(
        " -Track 1 has 65536 notes; a chart file holds at most 65535 notes a track, so this chart cannot "
        "be saved.\r\n\r\nRYX Convert Finished");
    EXPECT_NE(said, std::string::npos) << log;
}

TEST(ConversionSession, NotesInTheTempoTrackBecomeATrackOfTheirOwn) {
    Conversion run(
        Smf(1, 480,
            {Track({Tempo(0, 500000), Ev(0, {0xC0, 5}), Ev(0, {0x90, 60, 100}), Ev(100, {0x80, 60, 0}),
                    Tempo(380, 400000), Ev(0, {0x90, 62, 100}), Ev(480, {0x80, 62, 0})}),
             Track({Ev(0, {0xC1, 9}), Ev(0, {0x91, 70, 100}), Ev(480, {0x81, 70, 0})})}));
    ASSERT_EQ(run.session.Ok(), ConversionSession::Outcome::Converted);
    EXPECT_NE(run.session.log.Text().find(" -MIDI Format 1.\r\n"), std::string::npos);
    EXPECT_NE(run.session.log.Text().find(" -MIDI has 2 Tracks.\r\n"), std::string::npos);
    ASSERT_EQ(run.chart.usedTrackCount, 2);
    // The tempo track's notes, once, at their own times; the other track's notes, alone.
    ASSERT_EQ(run.chart.tracks[0].Count(), 2u);
    EXPECT_EQ(run.chart.tracks[0].At(0).key, 60);
    EXPECT_EQ(run.chart.tracks[0].At(1).time, 480 * 768 / 480);
    EXPECT_EQ(run.chart.tracks[0].At(1).timeMs, 500);
    EXPECT_EQ(run.chart.tracks[0].instrument, 5);
    ASSERT_EQ(run.chart.tracks[1].Count(), 1u);
    EXPECT_EQ(run.chart.tracks[1].At(0).key, 70);
    // The tempo map holds the two tempo changes only, a quarter note apart.
    ASSERT_EQ(run.chart.tempoMap.Entries().size(), 2u);
    EXPECT_EQ(run.chart.tempoMap.Entries()[1].tick, 480u);
    EXPECT_EQ(run.chart.tempoMap.Entries()[1].tempo, 400000u);
}

TEST(ConversionPipeline, ASoundChangeAfterANoteOfItsTickFollowsThatNoteInTheStoredSong) {
    // At tick 480 the song plays a note, then changes the program and the volume for what
    // comes next; the change on channel 1 has no note before it and stays.
    const Bytes file = Smf(1, 480, {Track({Tempo(0, 500000)}),
                                    Track({Ev(0, {0xC0, 0}), Ev(0, {0x90, 60, 100}), Ev(480, {0x80, 60, 0}),
                                           Ev(0, {0x90, 62, 100}), Ev(0, {0xC0, 56}), Ev(0, {0xB0, 7, 90}),
                                           Ev(0, {0xC1, 3}), Ev(1, {0xB0, 10, 20}), Ev(479, {0x80, 62, 0})})});
    CChart chart;
    ConversionLog log;
    std::optional<std::vector<uint8_t>> song = ConvertSongBytes(file, chart, log);
    ASSERT_TRUE(song);
    CSmfFile stored;
    ASSERT_TRUE(stored.ReadBytes(*song));
    std::vector<std::tuple<int32_t, uint8_t, uint8_t>> messages;
    for (int t = 1; t < stored.trackCount; ++t)
        for (const CNote& e : *stored.TrackEvents(t))
            if (e.time > 0 && e.status >= 0xB0 && e.status <= 0xCF && !(e.status == 0xB0 && e.key == 9))
                messages.emplace_back(e.time, e.status, e.key);
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(messages, (std::vector<std::tuple<int32_t, uint8_t, uint8_t>>{
                            {480, 0xC1, 3}, {481, 0xB0, 7}, {481, 0xB0, 10}, {481, 0xC0, 56}}));
    EXPECT_EQ(chart.tracks[0].Count(), 2u);  // the chart's notes are where they were
}
