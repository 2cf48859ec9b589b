// The tempo map: look-ups, the start tempo, and building it from a loaded chart's song.

#include <gtest/gtest.h>

#include "chart/BeatGrid.h"
#include "chart/ChartFile.h"
#include "chart/TempoMap.h"
#include "smf/LibSmf.h"
#include "support/TestChart.h"
#include "support/TestFiles.h"

namespace {

CLibTrack TempoTrack(std::initializer_list<std::pair<uint32_t, uint32_t>> events) {  // delta, tempo
    CLibTrack track;
    for (auto [delta, tempo] : events) track.Insert(MakeTempoEvent(delta, tempo));
    return track;
}

}  // namespace

TEST(TempoMap, TempoInForceAtATick) {
    CTempoMap map;
    map.BuildTempoMap(TempoTrack({{100, 600000}, {380, 400000}, {480, 300000}}), 480);
    struct Case {
        uint32_t tick;
        uint32_t tempo;
    };
    // Before the first change: 120 beats a minute, as the conversion times the song.
    for (Case c : {Case{0, 500000}, Case{99, 500000}, Case{100, 600000}, Case{479, 600000}, Case{480, 400000},
                   Case{959, 400000}, Case{960, 300000}, Case{100000, 300000}}) {
        EXPECT_EQ(map.TempoAt(c.tick), c.tempo) << c.tick;
    }
    // Chart position 1536 is two quarter notes: song tick 960 at 480 per quarter.
    EXPECT_EQ(map.StartTempo(1536), 300000u);
    EXPECT_EQ(map.StartTempo(1535), 400000u);
    EXPECT_EQ(map.StartTempo(0), 500000u);
    EXPECT_EQ(map.StartTempo(160), 600000u);  // song tick 100
    EXPECT_EQ(map.StartTempo(-50), 500000u);
    EXPECT_NEAR(map.ChartTime().MsAt(160), 100 * 500000.0 / 480 / 1000.0, 1e-9);
    EXPECT_EQ(map.SongResolution(), 480);

    map.ReleaseTempoMap();
    EXPECT_FALSE(map.Built());
    EXPECT_EQ(map.StartTempo(0), kDefaultTempo);
}

TEST(TempoMap, ALoadedChartGetsTheTempoMapOfItsSong) {
    ScratchFolder folder, temp;
    CLibTrack tempo = TempoTrack({{0, 600000}, {960, 450000}});
    CLibSmf writer;
    ASSERT_TRUE(writer.Open(folder / "song.mid", 'w'));
    writer.AddTrack(tempo);
    writer.SetResolution(96);
    ASSERT_TRUE(writer.Write());

    CChart chart = MakeSampleChart();
    chart.songInfo.midiPath = PathText(folder / "song.mid");
    ASSERT_TRUE(SaveChartFile(chart, folder / "t.ryx", temp.Path()));
    CChart loaded;
    ASSERT_TRUE(LoadChartFile(loaded, folder / "t.ryx", temp.Path()));
    ASSERT_EQ(loaded.tempoMap.Entries().size(), 2u);
    EXPECT_EQ(loaded.tempoMap.Entries()[1].tick, 960u);
    EXPECT_EQ(loaded.tempoMap.SongResolution(), 96);
    EXPECT_EQ(loaded.tempoMap.StartTempo(768 * 10), 450000u);

    // A song that is not a MIDI file leaves the map empty; the chart still loads.
    WriteBytes(folder / "song.mid", {1, 2, 3});
    ASSERT_TRUE(SaveChartFile(chart, folder / "u.ryx", temp.Path()));
    ASSERT_TRUE(LoadChartFile(loaded, folder / "u.ryx", temp.Path()));
    EXPECT_TRUE(loaded.tempoMap.Entries().empty());
}

TEST(BeatGrid, BeatsAndMeasuresFollowTheTimeSignatures) {
    CTempoMap plain;  // no time signature: 4/4 at 120 bpm
    std::vector<std::pair<int64_t, bool>> lines;
    for (const GridLine& l : BeatLines(plain, 700, 3072)) lines.emplace_back(l.tick, l.measure);
    EXPECT_EQ(lines, (std::vector<std::pair<int64_t, bool>>{
                         {768, false}, {1536, false}, {2304, false}, {3072, true}}));
    EXPECT_EQ(BeatReadout(plain, 0), "1:1  120.0 BPM");
    EXPECT_EQ(BeatReadout(plain, 3071), "1:4  120.0 BPM");
    EXPECT_EQ(BeatReadout(plain, 3072), "2:1  120.0 BPM");

    // 3/4 from the second measure (file tick 384 at 96 a quarter), 6/8 from the fourth.
    CLibTrack track;
    track.Insert(MakeTempoEvent(0, 600000));
    track.metas.push_back({384, 0x58, {3, 2, 24, 8}});
    track.metas.push_back({384 + 2 * 288, 0x58, {6, 3, 24, 8}});
    CTempoMap map;
    map.BuildTempoMap(track, 96);
    lines.clear();
    for (const GridLine& l : BeatLines(map, 3072, 3072 + 2 * 2304 + 384))
        lines.emplace_back(l.tick, l.measure);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], (std::pair<int64_t, bool>{3072, true}));
    EXPECT_EQ(lines[3], (std::pair<int64_t, bool>{3072 + 2304, true}));  // three quarters a measure
    EXPECT_EQ(lines[7], (std::pair<int64_t, bool>{3072 + 2 * 2304 + 384, false}));  // eighths in 6/8
    EXPECT_EQ(BeatReadout(map, 3072 + 2304 + 768), "3:2  100.0 BPM");
    // Measure lines carry their numbers, as the read-out counts them.
    for (int64_t from : {0, 3072 + 2304 + 5})
        for (const GridLine& l : BeatLines(map, from, 3072 + 4 * 2304)) {
            const std::string readout = BeatReadout(map, l.tick);
            EXPECT_EQ(readout.substr(0, readout.find(':')), std::to_string(l.number)) << l.tick;
        }
    // The measure that holds a tick starts at its first beat, whatever the meter.
    for (auto [tick, start] : {std::pair<int64_t, int64_t>{0, 0}, {3071, 0}, {3072 + 2303, 3072},
                               {3072 + 2304, 3072 + 2304}, {3072 + 2 * 2304 + 2303, 3072 + 2 * 2304},
                               {3072 + 2 * 2304 + 2304 + 10, 3072 + 3 * 2304}})
        EXPECT_EQ(MeasureStartAt(map, tick), start) << tick;
}
