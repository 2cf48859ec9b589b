// Export to the open seven-key games: each chart file's exact text for a chart with two tempo
// changes, a 3/4 measure, a chord, held notes and lanes 0 and 6; the same files read back by
// small readers of each format (times within 1 ms of the chart's); the archive's files and the
// song's audio decoded to the song's length.

#include <gtest/gtest.h>
#include <sndfile.h>
#include <zip.h>

#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "export/Exporter.h"
#include "playback/SoundFont.h"
#include "playback/WavRenderer.h"
#include "smf/LibSmf.h"
#include "support/SmfBuilder.h"
#include "support/TestChart.h"
#include "support/TestFiles.h"

namespace {

// 4/4 at 120 bpm, 3/4 from the second measure (chart tick 3072), 150 bpm from 5376, 100 bpm
// from 7680: file ticks at 96 a quarter.
CChart SampleChart() {
    CChart chart;
    CLibTrack tempo;
    tempo.Insert(MakeTempoEvent(0, 500000));
    tempo.Insert(MakeTempoEvent(672, 400000));
    tempo.Insert(MakeTempoEvent(288, 600000));
    tempo.metas.push_back({384, 0x58, {3, 2, 24, 8}});
    chart.tempoMap.BuildTempoMap(tempo, 96);
    struct N {
        int32_t tick;
        uint16_t lane;
        int32_t length;
        bool held;
    };
    for (const N& n : {N{0, 0, 100, false}, N{768, 0, 100, false}, N{768, 6, 100, false}, N{1536, 3, 1536, true},
                       N{3840, 6, 100, false}, N{5760, 5, 768, true}, N{8448, 2, 100, false}}) {
        CNote note = MakeNote(n.tick, 60, 0, n.length);
        note.lane = n.lane;
        note.longNote = n.held;
        note.selected = true;
        chart.tracks[0].Append(note);
        chart.player.Append(note);
    }
    chart.usedTrackCount = 1;
    chart.RebuildSelectionFromPlayer();
    chart.songInfo.title = "Test: Song";
    chart.songInfo.composer = "It's Me";
    chart.songInfo.author = "Author";
    chart.songInfo.level = 4;  // "5"
    chart.songInfo.genre = 3;  // Rock
    return chart;
}

struct ReadNote {
    double ms;
    int lane;
    double endMs;  // the start again for a plain note
    bool operator<(const ReadNote& o) const { return std::tie(ms, lane) < std::tie(o.ms, o.lane); }
};

// The chart's notes as the games should read them: (ms, lane, end).
std::vector<ReadNote> Expected() {
    return {{0, 0, 0}, {500, 0, 500}, {500, 6, 500}, {1000, 3, 2000}, {2500, 6, 2500}, {3700, 5, 4100},
            {5300, 2, 5300}};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// osu!mania: the column from x (x × 7 ÷ 512), the time, and the end of a hold.
std::vector<ReadNote> ReadOsu(const std::string& text) {
    std::vector<ReadNote> notes;
    bool objects = false;
    for (const std::string& line : Lines(text)) {
        if (line == "[HitObjects]") {
            objects = true;
            continue;
        }
        if (!objects || line.empty()) continue;
        int x = 0, y = 0, type = 0, sound = 0;
        long time = 0, end = 0;
        std::sscanf(line.c_str(), "%d,%d,%ld,%d,%d,%ld", &x, &y, &time, &type, &sound, &end);
        notes.push_back({double(time), x * 7 / 512, double(type & 128 ? end : time)});
    }
    return notes;
}

// Quaver: StartTime, Lane (from 1) and EndTime.
std::vector<ReadNote> ReadQua(const std::string& text) {
    std::vector<ReadNote> notes;
    bool objects = false;
    for (const std::string& line : Lines(text)) {
        if (line == "HitObjects:") objects = true;
        if (!objects) continue;
        if (line.rfind("- StartTime: ", 0) == 0) {
            const double ms = std::stod(line.substr(13));
            notes.push_back({ms, 0, ms});
        } else if (line.rfind("  Lane: ", 0) == 0) {
            notes.back().lane = std::stoi(line.substr(8)) - 1;
        } else if (line.rfind("  EndTime: ", 0) == 0) {
            notes.back().endMs = std::stod(line.substr(11));
        }
    }
    return notes;
}

// BMS: measures of 4 quarters times channel 02, tempo from #BPM and channel 08, notes on the
// key channels and long-note pairs on 5x.
std::vector<ReadNote> ReadBms(const std::string& text) {
    double bpm = 120;
    std::map<std::string, double> tempos;
    std::map<int, double> lengths;                                       // measure: fraction of 4/4
    std::map<int, std::vector<std::pair<int, std::string>>> data;        // measure: channel, data
    for (const std::string& line : Lines(text)) {
        if (line.rfind("#BPM ", 0) == 0) bpm = std::stod(line.substr(5));
        else if (line.rfind("#BPM", 0) == 0) tempos[line.substr(4, 2)] = std::stod(line.substr(7));
        else if (line.size() > 7 && line[0] == '#' && line[6] == ':' && std::isdigit(line[1])) {
            const int measure = std::stoi(line.substr(1, 3));
            const int channel = std::stoi(line.substr(4, 2));
            if (channel == 2) lengths[measure] = std::stod(line.substr(7));
            else data[measure].push_back({channel, line.substr(7)});
        }
    }
    auto laneOf = [](int channel) {
        const int keys[7] = {1, 2, 3, 4, 5, 8, 9};
        for (int l = 0; l < 7; ++l)
            if (channel % 10 == keys[l]) return l;
        return -1;
    };
    std::vector<ReadNote> notes;
    std::map<int, ReadNote*> open;  // held notes waiting for their end, by lane
    std::vector<ReadNote> held;
    double start = 0;  // ms at the measure's start
    const int last = data.empty() ? 0 : data.rbegin()->first;
    for (int m = 0; m <= last; ++m) {
        const double quarters = 4 * (lengths.count(m) ? lengths[m] : 1.0);
        // Events by position: tempo changes first at a position.
        std::vector<std::tuple<double, int, std::string>> events;
        for (const auto& [channel, d] : data[m])
            for (std::size_t i = 0; i + 1 < d.size(); i += 2)
                if (d.substr(i, 2) != "00") events.emplace_back(double(i / 2) / (d.size() / 2), channel == 8 ? 0 : channel, d.substr(i, 2));
        std::sort(events.begin(), events.end());
        double at = 0, ms = start;
        for (const auto& [position, channel, id] : events) {
            ms += (position - at) * quarters * 60000 / bpm;
            at = position;
            if (channel == 0) bpm = tempos[id];
            else if (channel >= 11 && channel <= 19) notes.push_back({ms, laneOf(channel), ms});
            else if (channel >= 51 && channel <= 59) {
                const int lane = laneOf(channel);
                auto found = std::find_if(notes.begin(), notes.end(), [&](const ReadNote& n) {
                    return n.lane == lane && n.endMs < 0;
                });
                if (found != notes.end()) found->endMs = ms;
                else notes.push_back({ms, lane, -1});
            }
        }
        start = ms + (1 - at) * quarters * 60000 / bpm;
    }
    return notes;
}

// The stereo samples of an audio file as libsndfile decodes it; none when it cannot.
std::vector<short> Decoded(const std::filesystem::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file || info.channels != 2) {
        if (file) sf_close(file);
        return {};
    }
    std::vector<short> samples(static_cast<std::size_t>(info.frames) * 2);
    samples.resize(static_cast<std::size_t>(sf_readf_short(file, samples.data(), info.frames)) * 2);
    sf_close(file);
    return samples;
}

void ExpectNotes(std::vector<ReadNote> read, const char* format) {
    std::vector<ReadNote> expected = Expected();
    std::sort(read.begin(), read.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(read.size(), expected.size()) << format;
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_NEAR(read[i].ms, expected[i].ms, 1.0) << format << " note " << i;
        EXPECT_EQ(read[i].lane, expected[i].lane) << format << " note " << i;
        EXPECT_NEAR(read[i].endMs, expected[i].endMs, 1.0) << format << " note " << i;
    }
}

}  // namespace

TEST(ExportChart, TimingPointsMeasuresAndNotes) {
    const ExportChart e = ExportChartOf(SampleChart());
    std::vector<std::tuple<int64_t, double, uint32_t, int>> timing;
    for (const TimingPoint& p : e.timing) timing.emplace_back(p.tick, p.ms, p.tempo, p.numerator);
    using T = std::vector<std::tuple<int64_t, double, uint32_t, int>>;
    EXPECT_EQ(timing, (T{{0, 0, 500000, 4}, {3072, 2000, 500000, 3}, {5376, 3500, 400000, 3}, {7680, 4700, 600000, 3}}));
    std::vector<std::pair<int64_t, int64_t>> measures;
    for (const Measure& m : e.measures) measures.emplace_back(m.tick, m.length);
    EXPECT_EQ(measures, (std::vector<std::pair<int64_t, int64_t>>{{0, 3072}, {3072, 2304}, {5376, 2304}, {7680, 2304}}));
    EXPECT_EQ(e.level, 5);
    EXPECT_EQ(e.genre, "Rock");
}

TEST(GameFiles, OsuText) {
    ExportChart e = ExportChartOf(SampleChart());
    e.audioFile = "audio.ogg";
    const std::string text = OsuText(e, {7.5, 6});
    const std::string expected =
        "osu file format v14\r\n\r\n[General]\r\nAudioFilename: audio.ogg\r\nAudioLeadIn: 0\r\nPreviewTime: -1\r\n"
        "Countdown: 0\r\nSampleSet: Normal\r\nStackLeniency: 0.7\r\nMode: 3\r\nLetterboxInBreaks: 0\r\n"
        "SpecialStyle: 0\r\nWidescreenStoryboard: 0\r\n\r\n[Metadata]\r\nTitle:Test: Song\r\nTitleUnicode:Test: Song\r\n"
        "Artist:It's Me\r\nArtistUnicode:It's Me\r\nCreator:Author\r\nVersion:Lv 5\r\nSource:\r\nTags:Rock\r\n"
        "BeatmapID:0\r\nBeatmapSetID:-1\r\n\r\n[Difficulty]\r\nHPDrainRate:6\r\nCircleSize:7\r\n"
        "OverallDifficulty:7.5\r\nApproachRate:5\r\nSliderMultiplier:1.4\r\nSliderTickRate:1\r\n\r\n[Events]\r\n"
        "//Background and Video events\r\n//Break Periods\r\n\r\n[TimingPoints]\r\n0,500,4,0,0,100,1,0\r\n"
        "2000,500,3,0,0,100,1,0\r\n3500,400,3,0,0,100,1,0\r\n4700,600,3,0,0,100,1,0\r\n\r\n[HitObjects]\r\n"
        "36,192,0,1,0,0:0:0:0:\r\n36,192,500,1,0,0:0:0:0:\r\n475,192,500,1,0,0:0:0:0:\r\n"
        "256,192,1000,128,0,2000:0:0:0:0:\r\n475,192,2500,1,0,0:0:0:0:\r\n402,192,3700,128,0,4100:0:0:0:0:\r\n"
        "182,192,5300,1,0,0:0:0:0:\r\n";
    EXPECT_EQ(text, expected);
    ExpectNotes(ReadOsu(text), "osu");
}

TEST(GameFiles, QuaText) {
    ExportChart e = ExportChartOf(SampleChart());
    e.audioFile = "audio.ogg";
    e.sampleFiles = {"ks-001.ogg"};
    e.noteSamples = {0, -1, -1, -1, -1, -1, -1};
    const std::string text = QuaText(e);
    const std::string expected =
        "AudioFile: 'audio.ogg'\nSongPreviewTime: 0\nBackgroundFile: ''\nMapId: -1\nMapSetId: -1\nMode: Keys7\n"
        "Title: 'Test: Song'\nArtist: 'It''s Me'\nSource: ''\nTags: 'Rock'\nCreator: 'Author'\n"
        "DifficultyName: 'Lv 5'\nDescription: ''\nCustomAudioSamples:\n- Path: 'ks-001.ogg'\n"
        "  UnaffectedByRate: false\nSoundEffects: []\nTimingPoints:\n- StartTime: 0\n  Bpm: 120\n"
        "  Signature: Quadruple\n- StartTime: 2000\n  Bpm: 120\n  Signature: Triple\n- StartTime: 3500\n  Bpm: 150\n"
        "  Signature: Triple\n- StartTime: 4700\n  Bpm: 100\n  Signature: Triple\nSliderVelocities: []\nHitObjects:\n"
        "- StartTime: 0\n  Lane: 1\n  KeySounds:\n  - Sample: 1\n    Volume: 100\n- StartTime: 500\n  Lane: 1\n"
        "- StartTime: 500\n  Lane: 7\n- StartTime: 1000\n  Lane: 4\n  EndTime: 2000\n- StartTime: 2500\n  Lane: 7\n"
        "- StartTime: 3700\n  Lane: 6\n  EndTime: 4100\n- StartTime: 5300\n  Lane: 3\n";
    EXPECT_EQ(text, expected);
    ExpectNotes(ReadQua(text), "quaver");
}

TEST(GameFiles, BmsText) {
    ExportChart e = ExportChartOf(SampleChart());
    e.audioFile = "audio.ogg";
    const std::string text = BmsText(e);
    const std::string expected =
        "*---------------------- HEADER FIELD\r\n#PLAYER 1\r\n#GENRE Rock\r\n#TITLE Test: Song\r\n#ARTIST It's Me\r\n"
        "#BPM 120\r\n#PLAYLEVEL 5\r\n#RANK 2\r\n#TOTAL 160\r\n#LNTYPE 1\r\n#WAV01 audio.ogg\r\n#BPM01 150\r\n"
        "#BPM02 100\r\n\r\n*---------------------- MAIN DATA FIELD\r\n"
        "#00001:01\r\n#00011:ZZZZ0000\r\n#00019:00ZZ0000\r\n#00054:00ZZ\r\n"
        "#00102:0.75\r\n#00119:00ZZ00\r\n#00154:ZZ\r\n"
        "#00202:0.75\r\n#00208:01\r\n#00258:00ZZ00ZZ0000\r\n"
        "#00302:0.75\r\n#00308:02\r\n#00313:00ZZ00\r\n";
    EXPECT_EQ(text, expected);
    ExpectNotes(ReadBms(text), "bms");
}

TEST(Exporter, ArchivesFoldersAudioAndFaults) {
    ScratchFolder folder;
    CChart chart = SampleChart();
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(
        Smf(1, 96, {Track({Tempo(0, 500000), Tempo(672, 400000), Tempo(288, 600000)})}), song));
    ExportOptions options;
    options.soundFont = DefaultSoundFont();
    options.output = folder / "song.osz";
    ExportResult result;
    ASSERT_TRUE(ExportChartFiles(chart, song, options, result));
    EXPECT_EQ(result.files, (std::vector<std::string>{"audio.ogg", "Test_ Song.osu"}));
    // The archive holds exactly those files, and nothing was left beside it.
    int error = 0;
    zip_t* zip = zip_open((folder / "song.osz").c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(zip, nullptr);
    std::set<std::string> names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) names.insert(zip_get_name(zip, i, 0));
    zip_close(zip);
    EXPECT_EQ(names, (std::set<std::string>{"audio.ogg", "Test_ Song.osu"}));
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"song.osz"}));

    // A folder, with WAV audio: the audio decodes to the song's length (the last note's end plus
    // the release), within 50 ms of the render.
    options.format = GameFormat::Bms;
    options.output = folder / "bms";
    options.audio = AudioChoice::Wav;
    ASSERT_TRUE(ExportChartFiles(chart, song, options, result));
    std::vector<int16_t> rendered;
    CChart all = chart;
    all.SetPlayFilter(kPlayAll);
    ASSERT_TRUE(RenderChart(all, song, 0, DefaultSoundFont(), rendered));
    for (const char* file : {"audio.wav"}) {
        SF_INFO info{};
        SNDFILE* sound = sf_open((folder / "bms" / file).c_str(), SFM_READ, &info);
        ASSERT_NE(sound, nullptr);
        sf_close(sound);
        EXPECT_EQ(info.channels, 2);
        EXPECT_EQ(info.samplerate, 44100);
        EXPECT_NEAR(double(info.frames) / 44100, double(rendered.size() / 2) / 44100, 0.05);
        EXPECT_GT(double(info.frames) / 44100, 5.3);
    }
    // OGG too, decoded by the same library.
    options.audio = AudioChoice::Ogg;
    options.output = folder / "ogg";
    ASSERT_TRUE(ExportChartFiles(chart, song, options, result));
    const std::vector<short> decoded = Decoded(folder / "ogg" / "audio.ogg");
    EXPECT_NEAR(double(decoded.size() / 2) / 44100, double(rendered.size() / 2) / 44100, 0.05);

    // Keysounds: one sound a distinct note (all seven notes share key, velocity and track but
    // not length: three lengths), and the song's audio without them.
    options.keysounds = true;
    options.output = folder / "keys";
    ASSERT_TRUE(ExportChartFiles(chart, song, options, result));
    EXPECT_EQ(result.files, (std::vector<std::string>{"audio.ogg", "ks-001.ogg", "ks-002.ogg", "ks-003.ogg",
                                                      "Test_ Song.bme"}));
    // Each sound is heard: the note, at its start.
    const std::vector<short> keySamples = Decoded(folder / "keys" / "ks-002.ogg");
    ASSERT_FALSE(keySamples.empty());
    short loudest = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(keySamples.size(), 44100); ++i)
        loudest = std::max<short>(loudest, static_cast<short>(std::abs(keySamples[i])));
    EXPECT_GT(loudest, 300);
    EXPECT_LT(keySamples.size() / 2, 44100u * 7);  // the held note's second and its release, not the song

    // Faults leave nothing: no player notes; an output whose folder does not exist.
    CChart empty = chart;
    empty.player = CNoteTrack();
    empty.selection = CNoteList();
    empty.selectionChanged = false;
    options.output = folder / "none.osz";
    EXPECT_EQ(ExportChartFiles(empty, song, options, result).code, ErrorCode::NoPlayerNotes);
    options.output = folder / "missing" / "x.osz";
    EXPECT_FALSE(ExportChartFiles(chart, song, options, result));
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"bms", "keys", "ogg", "song.osz"}));
}
