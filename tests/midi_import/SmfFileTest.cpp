// The program's own MIDI file reader: events, running status, extended events, their text
// forms, and damaged files.

#include <gtest/gtest.h>

#include "midi_import/EventData.h"
#include "midi_import/EventText.h"
#include "midi_import/SmfFile.h"
#include "support/SmfBuilder.h"
#include "support/TestFiles.h"

namespace {

CSmfFile ReadOf(const Bytes& bytes) {
    CSmfFile file;
    file.ReadBytes(bytes);
    return file;
}

std::vector<std::string> Texts(const CSmfFile& file, int track) {
    std::vector<std::string> texts;
    for (const CNote& event : *file.TrackEvents(track)) texts.push_back(EventText(event));
    return texts;
}

std::string Channel(long time, int status, int key, int velocity) {
    char line[64];
    std::snprintf(line, sizeof line, "%8ld %8ld %d %d %d %5ld %5ld", time, 0L, status, key, velocity, 0L, 0L);
    return line;
}

std::string Extended(long time, const std::string& description) {
    char line[32];
    std::snprintf(line, sizeof line, "%8ld ", time);
    return line + ("ed: " + description);
}

}  // namespace

TEST(SmfFile, FormatZeroTrackWithAbsoluteTicksAndRunningStatus) {
    CSmfFile file = ReadOf(Smf(0, 96,
                               {Track({Ev(0, {0x90, 60, 100}), MetaText(10, 0x01, "hi"), Ev(20, {62, 90}),
                                       Ev(30, {0xC3, 7}), Ev(5, {8}), Ev(0, {0xD1, 40}), EndOfTrack(66)})}));
    EXPECT_EQ(file.format, 0);
    EXPECT_EQ(file.trackCount, 1);
    EXPECT_EQ(file.division, 96);
    EXPECT_EQ(Texts(file, 0), (std::vector<std::string>{
                                  Channel(0, 0x90, 60, 100), Extended(10, "text event 'hi'"),
                                  Channel(30, 0x90, 62, 90), Channel(60, 0xC3, 7, 0), Channel(65, 0xC3, 8, 0),
                                  Channel(65, 0xD1, 40, 0), Extended(131, "end of track")}));
    EXPECT_EQ(file.TrackEvents(1), nullptr);
}

TEST(SmfFile, RunningStatusCarriesAcrossTracksButNotAcrossFiles) {
    const Bytes first = Smf(1, 96, {Track({Ev(0, {0xB2, 7, 100}), EndOfTrack()}), Track({Ev(0, {10, 20})})});
    CSmfFile file;
    file.ReadBytes(first);
    EXPECT_EQ(Texts(file, 1), (std::vector<std::string>{Channel(0, 0xB2, 10, 20)}));

    // The next file starts with data bytes: no status has been seen in it, so status 0 reads
    // them as a three-byte message.
    file.ReadBytes(Smf(0, 96, {Track({Ev(0, {60, 100}), Ev(0, {0x80, 60, 0})})}));
    EXPECT_EQ(Texts(file, 0), (std::vector<std::string>{Channel(0, 0, 60, 100), Channel(0, 0x80, 60, 0)}));
}

TEST(SmfFile, SystemStatusesEndOnlyTheirTrack) {
    for (uint8_t status : {uint8_t{0xF7}, uint8_t{0xF1}, uint8_t{0xF8}, uint8_t{0xFE}}) {
        CSmfFile file =
            ReadOf(Smf(1, 96,
                       {Track({Ev(0, {0x90, 60, 1}), Ev(5, {status, 1, 2}), Ev(5, {0x90, 61, 1})}),
                        Track({Ev(0, {0x91, 62, 1}), Ev(1, {0x81, 62, 0})})}));
        EXPECT_EQ(file.TrackEvents(0)->size(), 1u) << int(status);
        EXPECT_EQ(file.TrackEvents(1)->size(), 2u) << int(status);
    }
}

TEST(SmfFile, SystemExclusiveKeepsItsBytesAfterF0) {
    CSmfFile file = ReadOf(Smf(0, 96, {Track({Ev(4, {0xF0, 4, 0x7E, 0x7F, 0x09, 0xF7}), Ev(0, {0xF0, 0})})}));
    const auto& events = *file.TrackEvents(0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].status, kExtendedStatus);
    ASSERT_TRUE(events[0].data);
    EXPECT_EQ(events[0].data->kind, CEventData::kSysEx);
    EXPECT_EQ(events[0].data->raw, (Bytes{0xF0, 0x7E, 0x7F, 0x09, 0xF7}));
    EXPECT_EQ(events[1].data->raw, (Bytes{0xF0}));
    EXPECT_EQ(EventText(events[0]), Extended(4, ""));
}

TEST(SmfFile, MetaEventsDecodeAndDescribeThemselves) {
    struct Case {
        Bytes event;
        std::string description;
    };
    const std::vector<Case> cases = {
        {Meta(0, 0x00, {0x01, 0x02}), "sequence # 258"},
        {Meta(0, 0x00, {0xFF, 0xFE}), "sequence # -2"},
        {MetaText(0, 0x01, "text"), "text event 'text'"},
        {MetaText(0, 0x02, "(c) us"), "copyright notice '(c) us'"},
        {MetaText(0, 0x03, "Piano"), "sequence or track name 'Piano'"},
        {MetaText(0, 0x04, "Grand"), "instrument name 'Grand'"},
        {MetaText(0, 0x05, "la"), "lyric 'la'"},
        {MetaText(0, 0x06, "Verse"), "marker 'Verse'"},
        {MetaText(0, 0x07, "Go"), "cue point 'Go'"},
        {Meta(0, 0x01, {'a', 0, 'b'}), "text event 'a'"},
        {Meta(0, 0x20, {9}), "channel prefix 9"},
        {Meta(0, 0x2F, {}), "end of track"},
        {Meta(0, 0x51, {0x07, 0xA1, 0x20}), "500000 microseconds per MIDI quarter note"},
        {Meta(0, 0x51, {0x07}), "458752 microseconds per MIDI quarter note"},
        {Meta(0, 0x54, {0x41, 2, 3, 4, 5}), "SMPTE offset: 30 frames/sec drop, 01:02:03:04.05"},
        {Meta(0, 0x54, {0x17, 59, 0, 0, 0}), "SMPTE offset: 24 frames/sec non-drop, 23:59:00:00.00"},
        {Meta(0, 0x54, {0x20, 0, 0, 0, 0}), "SMPTE offset: 25 frames/sec non-drop, 00:00:00:00.00"},
        {Meta(0, 0x54, {0x60, 0, 0, 0, 0}), "SMPTE offset: 30 frames/sec non-drop, 00:00:00:00.00"},
        {Meta(0, 0x58, {6, 3, 24, 8}),
         "time signature 6/8, 24 MIDI clocks per beat, _8_ notated 32nd notes per 24 MIDI clocks"},
        {Meta(0, 0x59, {0xFD, 1}), "key signature: 3 flat(s), minor"},
        {Meta(0, 0x59, {2, 0}), "key signature: 2 sharp(s), major"},
        {Meta(0, 0x59, {0, 0}), "key signature: 0 sharp(s), major"},
        {Meta(0, 0x7F, {0x43, 1}), "sequencer specific"},
        {Meta(0, 0x21, {1}), ""},
        {Meta(0, 0x09, {'x'}), ""},
    };
    for (const Case& c : cases) {
        CSmfFile file = ReadOf(Smf(1, 96, {Track({c.event})}));
        ASSERT_EQ(file.TrackEvents(0)->size(), 1u) << c.description;
        EXPECT_EQ(EventText(file.TrackEvents(0)->front()), Extended(0, c.description));
    }

    CSmfFile file = ReadOf(Smf(
        1, 96, {Track({Meta(0, 0x59, {0xFD, 1}), Meta(0, 0x58, {6, 3, 24, 8}), Meta(0, 0x7F, {0x43, 1})})}));
    const CMetaEvent& key = file.TrackEvents(0)->at(0).data->meta;
    EXPECT_EQ(key.keyCount, 3u);
    EXPECT_FALSE(key.keySharps);
    EXPECT_EQ(key.keyMinor, 1u);
    const CMetaEvent& time = file.TrackEvents(0)->at(1).data->meta;
    EXPECT_EQ(time.timeSigNumerator, 6);
    EXPECT_EQ(time.timeSigDenominator, 8);
    EXPECT_EQ(file.TrackEvents(0)->at(2).data->meta.sequencerData, (Bytes{0x43, 1}));
}

TEST(SmfFile, DamagedFilesKeepWhatWasReadBeforeTheDamage) {
    const Bytes note = Ev(1, {0x90, 60, 100});
    struct Case {
        const char* what;
        Bytes file;
        uint16_t tracks;
        std::size_t eventsInFirstTrack;
    };
    const std::vector<Case> cases = {
        {"empty", {}, 0, 0},
        {"header cut short", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0}, 0, 0},
        {"longer header", Join({Header(1, 1, 96, 12), Track({note, note})}), 1, 2},
        {"chunk that is not a track",
         Join({Header(1, 2, 96), Chunk("JUNK", {0x90, 1, 2}), Track({note}), Track({note})}), 2, 1},
        {"claims 65535 tracks", Join({Header(1, 65535, 96), Track({note})}), 1, 1},
        {"claims no tracks", Join({Header(1, 0, 96), Track({note})}), 0, 0},
        {"no chunk is a track", Join({Header(1, 1, 96), Chunk("JUNK", {0x90, 1, 2})}), 0, 0},
        {"chunk runs past the file", Join({Header(0, 1, 96), Chunk("MTrk", Join({note, note, note}), 5000)}),
         1, 3},
        {"event runs past its chunk", Join({Header(0, 1, 96), Chunk("MTrk", Join({note, note}), 6), note}), 1,
         1},
        {"meta runs past its chunk", Smf(0, 96, {Track({note, Ev(0, {0xFF, 0x01, 0x20, 'a'})})}), 1, 1},
        {"variable-length number over 4 bytes",
         Smf(0, 96, {Track({note, {0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, note})}), 1, 1},
        {"wrapped in RIFF", Rmid(Smf(0, 96, {Track({note, note})})), 1, 2},
    };
    for (const Case& c : cases) {
        CSmfFile file;
        // A file without a track is not a MIDI file, for this reader as for the repair.
        EXPECT_EQ(file.ReadBytes(c.file).code, c.tracks == 0 ? ErrorCode::NotMidi : ErrorCode::None)
            << c.what;
        EXPECT_EQ(file.trackCount, c.tracks) << c.what;
        if (c.tracks == 0) {
            EXPECT_EQ(file.TrackEvents(0), nullptr) << c.what;
            continue;
        }
        EXPECT_EQ(file.TrackEvents(0)->size(), c.eventsInFirstTrack) << c.what;
    }
}

TEST(SmfFile, MissingFileGivesNoTracks) {
    ScratchFolder folder;
    CSmfFile file;
    EXPECT_EQ(file.Read(folder / "missing.mid").code, ErrorCode::OpenInput);
    EXPECT_EQ(file.trackCount, 0);
    EXPECT_EQ(file.TrackEvents(0), nullptr);

    WriteBytes(folder / "song.mid", Smf(0, 0xE728, {Track({EndOfTrack()})}));
    ASSERT_TRUE(file.Read(folder / "song.mid"));
    EXPECT_EQ(file.trackCount, 1);
    EXPECT_EQ(file.division, 0xE728);
    EXPECT_EQ(file.TicksPerQuarter(), 500);
}

TEST(EventText, EqualityByTimeAndKindOfEvent) {
    CSmfFile file = ReadOf(Smf(
        0, 96,
        {Track({Ev(0, {0x90, 60, 100}), Ev(0, {0x90, 60, 100}), Ev(0, {0x90, 60, 99}), MetaText(0, 0x05, "a"),
                MetaText(0, 0x05, "a"), MetaText(0, 0x05, "b"), Ev(0, {0xF0, 1, 1}), Ev(0, {0xF0, 1, 2})})}));
    const auto& e = *file.TrackEvents(0);
    EXPECT_TRUE(EventsEqual(e[0], e[1]));
    EXPECT_FALSE(EventsEqual(e[0], e[2]));
    EXPECT_TRUE(EventsEqual(e[3], e[4]));
    EXPECT_FALSE(EventsEqual(e[3], e[5]));
    EXPECT_FALSE(EventsEqual(e[0], e[3]));
    EXPECT_TRUE(EventsEqual(e[6], e[7]));  // system exclusive compares by its empty description
    CNote later = e[1];
    later.time = 1;
    EXPECT_FALSE(EventsEqual(e[0], later));
}
