// The MIDI library layer: reading files into 8-byte events, what is kept beside them,
// writing them back, and damaged files.

#include <gtest/gtest.h>

#include "smf/LibSmf.h"
#include "smf/LibTrackCodec.h"
#include "support/SmfBuilder.h"

void PrintTo(const LibEvent& e, std::ostream* os) {
    *os << "{" << e.delta << ", " << int(e.status) << ", " << int(e.data1) << ", " << int(e.data2) << ", "
        << int(e.data3) << "}";
}

namespace {

struct ReadSong {
    explicit ReadSong(const Bytes& file, std::size_t trackCount = 0) {
        ok = smf.OpenBytes(file).Ok();
        tracks.resize(trackCount ? trackCount : smf.FileTrackCount());
        for (CLibTrack& track : tracks) smf.AddTrack(track);
        if (ok) ok = smf.Read();
    }
    CLibSmf smf;
    std::vector<CLibTrack> tracks;
    bool ok = false;
};

std::vector<LibEvent> Events(const CLibTrack& track) {
    std::vector<LibEvent> events;
    for (uint32_t i = 0; i < track.Count(); ++i) events.push_back(track.Event(i));
    return events;
}

// Writes the read tracks to a file image, as the repair pipeline does.
Bytes WriteBack(ReadSong& song, uint16_t format) {
    CLibSmf out;
    out.Open("unused.mid", 'w', format);
    for (CLibTrack& track : song.tracks) out.AddTrack(track);
    out.SetResolution(song.smf.Resolution());
    return out.Serialize();
}

const Bytes kConductor =
    Track({MetaText(0, 0x03, "Conductor"), Meta(0, 0x58, {6, 3, 24, 8}), Meta(0, 0x51, {0x07, 0xA1, 0x20}),
           Meta(384, 0x51, {0x06, 0x1A, 0x80}), MetaText(0, 0x06, "Chorus"), EndOfTrack(768)});
const Bytes kPiano =
    Track({MetaText(0, 0x03, "Piano"), Ev(0, {0xC0, 5}), Ev(0, {0x90, 60, 100}),
           Ev(96, {62, 90}),  // running status
           MetaText(0, 0x05, "la"), Ev(96, {0x80, 60, 0}), Ev(0, {0xF0, 3, 0x7E, 0x7F, 0xF7}),
           Ev(10, {0xE0, 0x00, 0x40}), Ev(86, {0x80, 62, 0}), EndOfTrack(0)});

}  // namespace

TEST(LibSmf, ReadsEventsNamesAndKeepsTheRestBeside) {
    ReadSong song(Smf(1, 96, {kConductor, kPiano}));
    ASSERT_TRUE(song.ok);
    EXPECT_EQ(song.smf.Format(), 1);
    EXPECT_EQ(song.smf.Resolution(), 96);
    ASSERT_EQ(song.tracks.size(), 2u);

    const CLibTrack& conductor = song.tracks[0];
    EXPECT_EQ(conductor.Name(), "Conductor");
    EXPECT_EQ(Events(conductor),
              (std::vector<LibEvent>{{0, 0, 0x07, 0xA1, 0x20}, {384, 0, 0x06, 0x1A, 0x80}}));
    ASSERT_EQ(conductor.metas.size(), 2u);
    EXPECT_EQ(conductor.metas[0].type, 0x58);
    EXPECT_EQ(conductor.metas[0].time, 0u);
    EXPECT_EQ(conductor.metas[1].type, 0x06);
    EXPECT_EQ(conductor.metas[1].time, 384u);
    EXPECT_EQ(conductor.endTime, 1152u);

    const CLibTrack& piano = song.tracks[1];
    EXPECT_EQ(piano.Name(), "Piano");
    EXPECT_EQ(Events(piano), (std::vector<LibEvent>{{0, 0xC0, 5, 0, 0},
                                                    {0, 0x90, 60, 100, 0},
                                                    {96, 0x90, 62, 90, 0},
                                                    {96, 0x80, 60, 0, 0},
                                                    {0, 0xF0, 0, 0, 0},
                                                    {10, 0xE0, 0x00, 0x40, 0},
                                                    {86, 0x80, 62, 0, 0}}));
    ASSERT_NE(piano.PayloadOf(piano.Event(4)), nullptr);
    EXPECT_EQ(piano.PayloadOf(piano.Event(4))->bytes, (Bytes{0x7E, 0x7F, 0xF7}));
    ASSERT_EQ(piano.metas.size(), 1u);
    EXPECT_EQ(piano.metas[0].time, 96u);
    EXPECT_EQ(piano.AbsoluteTime(6), 288u);
    EXPECT_EQ(piano.cursor, 0u);
}

TEST(LibSmf, ReadWriteReadKeepsEverything) {
    const Bytes escape = Track({Ev(0, {0xF7, 2, 0xF3, 1}), Ev(5, {0x91, 40, 1}), EndOfTrack(1000)});
    const Bytes unnamed = Track({Ev(0, {0xB9, 0, 1}), Ev(0, {0xC9, 0}), Ev(48, {0x99, 36, 120}),
                                 Ev(48, {36, 0}), Meta(0, 0x7F, {1, 2, 3}), EndOfTrack()});
    struct Case {
        const char* what;
        uint16_t format;
        Bytes file;
    };
    const std::vector<Case> cases = {
        {"format 0", 0, Smf(0, 480, {kPiano})},
        {"format 1", 1, Smf(1, 96, {kConductor, kPiano, unnamed})},
        {"format 2", 2, Smf(2, 120, {kPiano, escape})},
    };
    for (const Case& c : cases) {
        ReadSong first(c.file);
        ASSERT_TRUE(first.ok) << c.what;
        const Bytes written = WriteBack(first, c.format);
        ReadSong second(written);
        ASSERT_TRUE(second.ok) << c.what;
        EXPECT_EQ(second.smf.Format(), c.format) << c.what;
        EXPECT_EQ(second.smf.Resolution(), first.smf.Resolution()) << c.what;
        ASSERT_EQ(second.tracks.size(), first.tracks.size()) << c.what;
        for (std::size_t t = 0; t < first.tracks.size(); ++t) {
            const CLibTrack& a = first.tracks[t];
            const CLibTrack& b = second.tracks[t];
            EXPECT_EQ(Events(a), Events(b)) << c.what << " track " << t;
            EXPECT_EQ(a.Name(), b.Name()) << c.what;
            EXPECT_EQ(a.endTime, b.endTime) << c.what;
            ASSERT_EQ(a.metas.size(), b.metas.size()) << c.what;
            for (std::size_t m = 0; m < a.metas.size(); ++m) {
                EXPECT_EQ(a.metas[m].time, b.metas[m].time) << c.what;
                EXPECT_EQ(a.metas[m].type, b.metas[m].type) << c.what;
                EXPECT_EQ(a.metas[m].data, b.metas[m].data) << c.what;
            }
            ASSERT_EQ(a.sysex.size(), b.sysex.size()) << c.what;
            for (std::size_t s = 0; s < a.sysex.size(); ++s) {
                EXPECT_EQ(a.sysex[s].bytes, b.sysex[s].bytes) << c.what;
                EXPECT_EQ(a.sysex[s].escaped, b.sysex[s].escaped) << c.what;
            }
        }
        // Writing what was read back gives the very same bytes.
        EXPECT_EQ(WriteBack(second, c.format), written) << c.what;
    }
}

TEST(LibSmf, WritesAMinimalValidFile) {
    CLibTrack track;
    track.SetName("Lead");
    track.Insert({0, 0x90, 60, 100, 0});
    track.Insert({200, 0x80, 60, 0, 0});
    track.Insert({0, 0x12, 0, 0, 0});  // not a status the stream can hold: left out
    CLibSmf smf;
    ASSERT_TRUE(smf.Open("unused.mid", 'w', 1));
    smf.AddTrack(track);
    smf.SetResolution(480);
    EXPECT_EQ(smf.Serialize(), Smf(1, 480,
                                   {Track({MetaText(0, 0x03, "Lead"), Ev(0, {0x90, 60, 100}),
                                           Ev(200, {0x80, 60, 0}), EndOfTrack()})}));
}

Bytes HeaderLengthPastTheFile() {
    Bytes file = Smf(1, 96, {Track({Ev(0, {0x90, 60, 100})})});
    std::fill(file.begin() + 4, file.begin() + 8, 0xFF);
    return file;
}

TEST(LibSmf, DamagedFilesEndTracksCleanly) {
    struct Case {
        const char* what;
        Bytes file;
        bool opens;
        uint16_t tracks;
        uint32_t eventsInLastTrack;
    };
    const Bytes note = Ev(0, {0x90, 60, 100});
    const std::vector<Case> cases = {
        {"empty file", {}, false, 0, 0},
        {"header cut short", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0}, false, 0, 0},
        {"header length below 6", Join({Header(1, 1, 96, 4), Track({note})}), false, 0, 0},
        {"not a MIDI file", Bytes(100, 'x'), false, 0, 0},
        {"header claims no tracks", Join({Header(1, 0, 96), Track({note})}), false, 0, 0},
        {"header length runs past the file", HeaderLengthPastTheFile(), false, 0, 0},
        {"no chunk is a track", Join({Header(1, 1, 96), Chunk("XFIH", {1, 2, 3})}), false, 0, 0},
        {"longer header is skipped", Join({Header(1, 1, 96, 10), Track({note, note})}), true, 1, 2},
        {"other chunks are skipped", Join({Header(1, 1, 96), Chunk("XFIH", {1, 2, 3}), Track({note})}), true,
         1, 1},
        {"claims 65535 tracks", Join({Header(1, 65535, 96), Track({note})}), true, 1, 1},
        {"chunk runs past the file", Join({Header(0, 1, 96), Chunk("MTrk", Join({note, note}), 1000)}), true,
         1, 2},
        {"event runs past its chunk", Join({Header(0, 1, 96), Chunk("MTrk", Join({note, {0, 0x90, 61}}))}),
         true, 1, 1},
        {"variable-length number over 4 bytes",
         Smf(0, 96, {Track({note, {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 1, 1}})}), true, 1, 1},
        {"data byte before any status", Smf(0, 96, {Track({Ev(0, {60, 100}), note})}), true, 1, 0},
        {"system status ends the track", Smf(0, 96, {Track({note, Ev(0, {0xF1, 0}), note})}), true, 1, 1},
        {"events after the end of track", Smf(0, 96, {Track({note, EndOfTrack(), note})}), true, 1, 1},
        {"sysex longer than its chunk", Smf(0, 96, {Track({note, Ev(0, {0xF0, 0x7F, 1, 2})})}), true, 1, 1},
    };
    for (const Case& c : cases) {
        ReadSong song(c.file);
        EXPECT_EQ(song.ok, c.opens) << c.what;
        if (!c.opens) continue;
        EXPECT_EQ(song.smf.FileTrackCount(), c.tracks) << c.what;
        EXPECT_EQ(song.tracks.back().Count(), c.eventsInLastTrack) << c.what;
    }
}

TEST(LibSmf, DivisionsAlwaysGiveTicksPerQuarter) {
    struct Case {
        uint16_t division;
        uint16_t ticks;
    };
    for (Case c : {Case{96, 96}, Case{480, 480}, Case{0, 96}, Case{0xE728, 500},  // 25 fps x 40
                   Case{0xE250, 1200}, Case{0xE350, 1199}, Case{0xE801, 12}, Case{0xFF01, 1}, Case{0x8000, 1},
                   Case{0x7FFF, 32767}}) {
        EXPECT_EQ(TicksPerQuarter(c.division), c.ticks) << std::hex << c.division;
        ReadSong song(Smf(1, c.division, {Track({EndOfTrack()})}));
        ASSERT_TRUE(song.ok);
        EXPECT_EQ(song.smf.Resolution(), c.ticks);
    }
    CLibSmf smf;
    for (uint16_t bad : {uint16_t{0}, uint16_t{0x8000}, uint16_t{0xE728}}) {
        smf.SetResolution(bad);
        EXPECT_EQ(smf.Resolution(), 96);
    }
}

TEST(LibSmf, ModesAndAttachments) {
    CLibSmf smf;
    CLibTrack a, b;
    EXPECT_FALSE(smf.Read());
    EXPECT_FALSE(smf.Open("/nonexistent/file.mid", 'r'));
    ASSERT_TRUE(smf.OpenBytes(Smf(0, 96, {kPiano})));
    EXPECT_FALSE(smf.Read());   // nothing attached
    EXPECT_FALSE(smf.Write());  // opened for reading
    smf.AddTrack(a);
    smf.AddTrack(b, 0);
    EXPECT_EQ(a.AttachedFile(), &smf);
    ASSERT_TRUE(smf.Read());
    EXPECT_EQ(b.Name(), "Piano");  // b was inserted first
    EXPECT_EQ(a.Count(), 0u);      // the file has one track only
    EXPECT_TRUE(smf.RemoveTrack(a));
    EXPECT_FALSE(smf.RemoveTrack(a));
    smf.Close();
    EXPECT_EQ(b.AttachedFile(), nullptr);
    EXPECT_EQ(smf.AttachedCount(), 0u);
}

TEST(LibTrack, ATrackThatGoesAwayDetachesItself) {
    CLibSmf smf;
    ASSERT_TRUE(smf.Open("unused.mid", 'w'));
    CLibTrack kept;
    smf.AddTrack(kept);
    {
        CLibTrack gone;
        smf.AddTrack(gone);
        CLibTrack copy = gone;
        EXPECT_EQ(copy.AttachedFile(), nullptr);
        EXPECT_EQ(smf.AttachedCount(), 2u);
    }
    EXPECT_EQ(smf.AttachedCount(), 1u);
    {
        CLibSmf other;
        other.AddTrack(kept);  // moves the track over
        EXPECT_EQ(smf.AttachedCount(), 0u);
    }
    EXPECT_EQ(kept.AttachedFile(), nullptr);
    smf.AddTrack(kept);
    EXPECT_EQ(smf.Serialize().size(), Smf(1, 96, {Track({EndOfTrack()})}).size());
}

TEST(LibSmf, AnEmptyNameGivesWayToTheNextName) {
    ReadSong song(Smf(1, 96,
                      {Track({MetaText(0, 0x03, ""), Ev(0, {0x90, 60, 1}), MetaText(5, 0x03, "Lead"),
                              MetaText(5, 0x03, "")})}));
    ASSERT_TRUE(song.ok);
    EXPECT_EQ(song.tracks[0].Name(), "Lead");
    ASSERT_EQ(song.tracks[0].metas.size(), 1u);  // the later empty one is kept as it was
    ReadSong again(WriteBack(song, 1));
    EXPECT_EQ(again.tracks[0].Name(), "Lead");
    EXPECT_EQ(again.tracks[0].metas.size(), 1u);
}
