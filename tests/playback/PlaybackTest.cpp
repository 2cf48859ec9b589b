// What playing a chart sends and when: the song's messages without its notes, the state in
// force at a start point, the chart's notes through the play filter, the music clock, and
// the offline render through the real synthesizer.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <tuple>

#include "playback/MusicClock.h"
#include "playback/PlaySchedule.h"
#include "playback/WavRenderer.h"
#include "smf/LibSmf.h"
#include "support/SmfBuilder.h"
#include "support/TestChart.h"

namespace {

// A song at 480 ticks a quarter: a tempo change to 250,000 µs at the second quarter, a program,
// a controller, a pitch bend and a system exclusive, and notes that must never be sent.
const Bytes kSong =
    Smf(1, 480,
        {Track({Tempo(0, 500000), Tempo(480, 250000)}),
         Track({Ev(0, {0xC1, 40}), Ev(0, {0xB1, 7, 90}), Ev(0, {0x91, 60, 100}), Ev(240, {0xE1, 0, 0x50}),
                Ev(0, {0xF0, 4, 0x7E, 0x7F, 0x09, 0xF7}), Ev(240, {0x81, 60, 0}), Ev(480, {0xB1, 7, 20})})});

SongTimeline Timeline() {
    SongTimeline song;
    EXPECT_TRUE(SongTimeline::FromSongBytes(kSong, song));
    return song;
}

std::vector<std::pair<int64_t, uint8_t>> TicksAndStatus(const std::vector<TimedMessage>& messages) {
    std::vector<std::pair<int64_t, uint8_t>> out;
    for (const TimedMessage& m : messages) out.emplace_back(m.tick, m.status);
    return out;
}

// The first sample where one loud piano note at `tick`, `length` ticks long, is heard in a
// render of it alone.
int64_t OnsetOfOneNote(const SongTimeline& song, int32_t tick, int32_t length, const RenderSettings& settings) {
    CChart chart;
    CNote note = MakeNote(tick, 60, 0, length);
    note.velocity = 127;
    chart.tracks[0].Append(note);
    chart.usedTrackCount = 1;
    chart.SetPlayFilter(kPlayAll);
    std::vector<int16_t> samples;
    EXPECT_TRUE(RenderChart(chart, song, 0, DefaultSoundFont(), samples, settings));
    std::size_t onset = 0;
    while (onset * 2 < samples.size() && std::abs(samples[onset * 2]) + std::abs(samples[onset * 2 + 1]) < 4)
        ++onset;
    return static_cast<int64_t>(onset);
}

}  // namespace

TEST(SongTimeline, KeepsEverythingButNotesAtChartTicks) {
    const SongTimeline song = Timeline();
    EXPECT_EQ(TicksAndStatus(song.Messages()), (std::vector<std::pair<int64_t, uint8_t>>{{0, kTempoMessage},
                                                                                         {0, 0xC1},
                                                                                         {0, 0xB1},
                                                                                         {384, 0xE1},
                                                                                         {384, kSysExMessage},
                                                                                         {768, kTempoMessage},
                                                                                         {1536, 0xB1}}));
    EXPECT_EQ(song.Messages()[4].sysex, (std::vector<uint8_t>{0x7E, 0x7F, 0x09}));
    EXPECT_EQ(song.TempoAt(767), 500000u);
    EXPECT_EQ(song.TempoAt(768), 250000u);

    // Starting at 1000: the program, the volume of 90 and the bend are sent again there.
    const std::vector<TimedMessage> state = song.StateAt(1000);
    EXPECT_EQ(TicksAndStatus(state),
              (std::vector<std::pair<int64_t, uint8_t>>{{1000, 0xC1}, {1000, 0xB1}, {1000, 0xE1}}));
    EXPECT_EQ(state[1].data2, 90);
    EXPECT_EQ(song.StateAt(2000)[1].data2, 20);

    SongTimeline notMidi;
    EXPECT_EQ(SongTimeline::FromSongBytes(Bytes(20, 'x'), notMidi).code, ErrorCode::NotMidi);
}

TEST(SongTimeline, StateFromTheMiddleMeansWhatItMeant) {
    // Expression and sustain set before a reset-all-controllers are gone after it; a pitch-bend
    // range of 12 set through its registered parameter, then the selection nulled; expression
    // set again; a bend.
    auto cc = [](uint8_t controller, uint8_t value) { return Ev(0, {0xB2, controller, value}); };
    const Bytes file = Smf(1, 96, {Track({Tempo(0, 500000)}),
                                   Track({Ev(0, {0xC2, 5}), cc(11, 40), cc(64, 127), cc(121, 0), cc(7, 100),
                                          cc(101, 0), cc(100, 0), cc(6, 12), cc(38, 0), cc(101, 127),
                                          cc(100, 127), cc(99, 1), cc(98, 8), cc(6, 64), cc(11, 90),
                                          Ev(0, {0xE2, 0, 0x60}), Ev(96, {0x92, 60, 100})})});
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(file, song));
    std::vector<std::vector<uint8_t>> sent;
    for (const TimedMessage& m : song.StateAt(100)) sent.push_back({m.status, m.data1, m.data2});
    const std::vector<std::vector<uint8_t>> expected = {
        {0xC2, 5, 0},                                                // the program
        {0xB2, 121, 0},                                              // the reset, before what follows it
        {0xB2, 101, 0},   {0xB2, 100, 0},   {0xB2, 6, 12}, {0xB2, 38, 0},  // bend range 12
        {0xB2, 99, 1},    {0xB2, 98, 8},    {0xB2, 6, 64},                 // a non-registered one
        {0xB2, 101, 127}, {0xB2, 100, 127},                                 // the selections in force,
        {0xB2, 99, 1},    {0xB2, 98, 8},                                    // the last kind last
        {0xB2, 7, 100},   {0xB2, 11, 90},                                   // other controllers
        {0xE2, 0, 0x60},                                                    // the bend last
    };
    EXPECT_EQ(sent, expected);
}

TEST(MusicClock, FollowsTheTempoFromTheStartPoint) {
    const SongTimeline song = Timeline();
    const MusicClock fromZero(song.Time(), 0);
    EXPECT_NEAR(fromZero.SecondsUntil(768), 0.5, 1e-12);    // one quarter at 120 bpm
    EXPECT_NEAR(fromZero.SecondsUntil(1536), 0.75, 1e-12);  // then one at 240 bpm
    EXPECT_EQ(fromZero.TickAfter(0.75), 1536);
    EXPECT_EQ(fromZero.TickAfter(0.25), 384);
    const MusicClock fromLater(song.Time(), 1152);
    EXPECT_NEAR(fromLater.SecondsUntil(1536), 0.125, 1e-12);  // the faster tempo is in force there
    // Far times saturate rather than overflow.
    EXPECT_EQ(fromZero.TickAfter(1e300), INT64_MAX);
    EXPECT_EQ(MusicClock({}, INT64_MAX - 10).TickAfter(100.0), INT64_MAX);
}

TEST(PlaySchedule, ANoteOfNoLengthEndsJustAfterItStarts) {
    // A zero-length note, then a note of the same key starting where a note of it ends.
    CChart chart;
    chart.tracks[0].Append(MakeNote(100, 60, 0, 0));
    chart.tracks[0].Append(MakeNote(200, 62, 0, 100));
    chart.tracks[0].Append(MakeNote(300, 62, 0, 100));
    chart.usedTrackCount = 1;
    chart.SetPlayFilter(kPlayAll);
    std::vector<std::tuple<int64_t, uint8_t, uint8_t>> notes;
    for (const ScheduledMessage& s : BuildPlaySchedule(chart, SongTimeline(), 0))
        if (s.track == 0) notes.emplace_back(s.message.tick, s.message.status, s.message.data1);
    EXPECT_EQ(notes, (std::vector<std::tuple<int64_t, uint8_t, uint8_t>>{
                         {100, 0x90, 60}, {101, 0x80, 60}, {200, 0x90, 62}, {300, 0x80, 62}, {300, 0x90, 62},
                         {400, 0x80, 62}}));
}

TEST(Render, ANoteStartsOnItsOwnSampleWhereverTheBlocksSplit) {
    // One loud piano note at tick t is due at sample k = t × 28.71 (120 bpm, 44.1 kHz); the
    // render's blocks are 512 frames. Measured against the same note at sample 0 (the piano's
    // attack takes a few samples to be heard), it starts from k on, within the synthesizer's
    // own 64-sample step: never before its time.
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000)})}), song));
    auto onsetOf = [&](int32_t tick) { return OnsetOfOneNote(song, tick, 768, {}); };
    const int64_t attack = onsetOf(0);
    for (int32_t tick : {17, 18, 20, 36, 71}) {
        const auto due = static_cast<int64_t>(std::ceil(tick * 44100.0 * 0.5 / 768 - 1e-6));
        const int64_t start = onsetOf(tick) - attack;
        EXPECT_GE(start, due) << "tick " << tick;
        EXPECT_LT(start, due + 64) << "tick " << tick;
    }
}

TEST(Render, NothingGoesPastTheSongsEnd) {
    // A damaged chart: a note at the largest tick, another lasting far past the song's stored
    // second (1536 ticks at 120 bpm). The render ends at that second plus the release.
    CChart chart;
    chart.tracks[0].Append(MakeNote(0, 60, 0, INT32_MAX / 2));
    chart.tracks[0].Append(MakeNote(INT32_MAX - 1, 62, 0, 1000));
    chart.usedTrackCount = 1;
    chart.songLengthMs = 1000;
    chart.SetPlayFilter(kPlayAll);
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000)})}), song));
    const std::vector<ScheduledMessage> schedule = BuildPlaySchedule(chart, song, 0);
    ASSERT_FALSE(schedule.empty());
    EXPECT_EQ(schedule.back().message.tick, 1536);  // the long note's end, at the song's end
    EXPECT_EQ(std::count_if(schedule.begin(), schedule.end(), [](const ScheduledMessage& m) {
                  return m.message.IsNoteOn();
              }),
              1);
    std::vector<int16_t> samples;
    ASSERT_TRUE(RenderChart(chart, song, 0, DefaultSoundFont(), samples));
    EXPECT_LT(samples.size(), std::size_t{2} * kRenderSampleRate * 7);
}

TEST(PlaySchedule, ChartNotesThroughThePlayFilterFromTheStartPoint) {
    CChart chart;
    chart.tracks[0].Append(MakeNote(0, 50, 0, 100));
    chart.tracks[0].Append(MakeNote(2000, 52, 0, 300));
    chart.tracks[2].Append(MakeNote(1000, 70, 2, 200));
    chart.player.Append(MakeNote(1000, 70, 2, 200));
    chart.usedTrackCount = 3;
    const SongTimeline song = Timeline();

    auto notes = [&](int64_t start) {
        std::vector<std::tuple<int64_t, uint8_t, uint8_t>> out;  // tick, note on/off, key
        for (const ScheduledMessage& s : BuildPlaySchedule(chart, song, start)) {
            const TimedMessage& m = s.message;
            if ((m.status & 0xE0) == 0x80) out.emplace_back(m.tick, m.status & 0xF0, m.data1);
        }
        return out;
    };
    using N = std::vector<std::tuple<int64_t, uint8_t, uint8_t>>;
    chart.SetPlayFilter(kPlayAll);  // the 16 tracks, not the player's copies
    EXPECT_EQ(notes(0), (N{{0, 0x90, 50},
                           {100, 0x80, 50},
                           {1000, 0x90, 70},
                           {1200, 0x80, 70},
                           {2000, 0x90, 52},
                           {2300, 0x80, 52}}));
    EXPECT_EQ(notes(1001), (N{{2000, 0x90, 52}, {2300, 0x80, 52}}));  // the song's own notes never
    chart.SetPlayFilter(2);
    EXPECT_EQ(notes(0), (N{{1000, 0x90, 70}, {1200, 0x80, 70}}));
    chart.SetPlayFilter(kPlayPlayerOnly);
    EXPECT_EQ(notes(0), (N{{1000, 0x90, 70}, {1200, 0x80, 70}}));
    chart.tracks[2].Notes()[0].velocity = 1;  // the player's notes are their own copies
    chart.player.Notes()[0].velocity = 99;
    for (const ScheduledMessage& s : BuildPlaySchedule(chart, song, 0)) {
        if (s.message.IsNoteOn()) {
            EXPECT_EQ(s.message.data2, 99);
        }
    }

    // The state in force comes first at the start point.
    const std::vector<ScheduledMessage> later = BuildPlaySchedule(chart, song, 1000);
    ASSERT_GE(later.size(), 3u);
    EXPECT_EQ(later[0].message.status, kTempoMessage);
    EXPECT_EQ(later[0].message.tempo, 250000u);
    EXPECT_EQ(later[1].message.status, 0xC1);
    EXPECT_EQ(later[1].message.tick, 1000);
}

TEST(Render, ANoteSoundsAtItsTimeAndAFilteredOneDoesNot) {
    CChart chart;
    chart.tracks[0].Append(MakeNote(768, 60, 0, 768));   // at 0.5 s for 0.5 s
    chart.tracks[1].Append(MakeNote(2304, 64, 1, 768));  // at 1.5 s
    chart.usedTrackCount = 2;
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000)})}), song));

    auto loudness = [](const std::vector<int16_t>& samples, double from, double to) {
        double sum = 0;
        std::size_t n = 0;
        for (auto i = static_cast<std::size_t>(from * kRenderSampleRate) * 2;
             i < static_cast<std::size_t>(to * kRenderSampleRate) * 2 && i < samples.size(); ++i, ++n)
            sum += double(samples[i]) * samples[i];
        return n ? std::sqrt(sum / n) : 0.0;
    };
    auto render = [&](int16_t filter, int64_t start) {
        chart.SetPlayFilter(filter);
        std::vector<int16_t> samples;
        EXPECT_TRUE(RenderChart(chart, song, start, DefaultSoundFont(), samples));
        return samples;
    };
    const std::vector<int16_t> all = render(kPlayAll, 0);
    EXPECT_LT(loudness(all, 0.0, 0.45), 5.0);
    EXPECT_GT(loudness(all, 0.55, 0.95), 100.0);
    EXPECT_GT(loudness(all, 1.55, 1.95), 100.0);

    const std::vector<int16_t> firstOnly = render(0, 0);
    EXPECT_LT(loudness(firstOnly, 1.7, 1.95), loudness(all, 1.7, 1.95) / 20);

    // From 1 s on: the first note never sounds, the second comes half a second in.
    const std::vector<int16_t> later = render(kPlayAll, 1536);
    EXPECT_LT(loudness(later, 0.0, 0.45), 5.0);
    EXPECT_GT(loudness(later, 0.55, 0.95), 100.0);

    std::vector<int16_t> none;
    EXPECT_EQ(RenderChart(CChart(), SongTimeline(), 0, "/nonexistent.sf2", none).code,
              ErrorCode::OpenInput);
    const std::vector<uint8_t> wav = WavBytes({1, -1});
    EXPECT_EQ(wav.size(), 44u + 4u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
}

TEST(Render, SpeedScalesEveryOnset) {
    // One loud note at 1 s (tick 1536 at 120 bpm): at 50 % it starts at 2 s, at 200 % at 0.5 s,
    // on its own sample within the synthesizer's 64-sample step.
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000)})}), song));
    auto onsetOf = [&](int32_t tick, double speed) {
        RenderSettings settings;
        settings.speed = speed;
        return OnsetOfOneNote(song, tick, 384, settings);
    };
    const int64_t attack = onsetOf(0, 1.0);
    for (double speed : {0.5, 1.0, 2.0}) {
        const auto due = static_cast<int64_t>(std::ceil(44100.0 / speed - 1e-6));
        const int64_t start = onsetOf(1536, speed) - attack;
        EXPECT_GE(start, due) << speed;
        EXPECT_LT(start, due + 64) << speed;
    }
}

TEST(Render, TheMetronomeClicksOnEveryBeatThroughMeterAndTempoChanges) {
    // 4/4 at 120 bpm, one measure of 3/4, then 6/8 at 150 bpm (a quarter 0.4 s, a beat an
    // eighth): file ticks at 96 a quarter.
    CLibTrack tempoTrack;
    tempoTrack.Insert(MakeTempoEvent(0, 500000));
    tempoTrack.Insert(MakeTempoEvent(672, 400000));
    tempoTrack.metas.push_back({384, 0x58, {3, 2, 24, 8}});
    tempoTrack.metas.push_back({672, 0x58, {6, 3, 24, 8}});
    CChart chart;
    chart.tempoMap.BuildTempoMap(tempoTrack, 96);
    chart.tracks[0].Append(MakeNote(0, 40, 0, 7680 + 768));  // the song's length; never heard
    chart.usedTrackCount = 1;
    chart.SetPlayFilter(1);
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000), Tempo(672, 400000)})}), song));

    // Where the clicks are, and which are accented (the first beat of each measure).
    std::vector<std::pair<int64_t, bool>> clicks;
    for (const ScheduledMessage& m : MetronomeClicks(chart, 0, 7680))
        if (m.message.IsNoteOn()) clicks.emplace_back(m.message.tick, m.message.data1 == kAccentClick);
    using C = std::vector<std::pair<int64_t, bool>>;
    EXPECT_EQ(clicks, (C{{0, true}, {768, false}, {1536, false}, {2304, false},  // 4/4
                         {3072, true}, {3840, false}, {4608, false},             // 3/4
                         {5376, true}, {5760, false}, {6144, false}, {6528, false}, {6912, false}, {7296, false},
                         {7680, true}}));  // 6/8, then the next measure

    std::vector<int16_t> samples;
    ASSERT_TRUE(RenderChart(chart, song, 0, DefaultSoundFont(), samples, {1.0, true}));
    // Each click is heard where it is due, 0.5 s apart and then 0.2 s apart from 3.5 s on, to the
    // song's end: the sound grows manifold from just before its time
    // to just after it (the click before may still ring).
    auto loudness = [&](double from, double to) {
        double sum = 0;
        const auto first = static_cast<std::size_t>(std::max(from, 0.0) * 44100);
        const auto last = static_cast<std::size_t>(to * 44100);
        for (std::size_t i = first; i < last && 2 * i + 1 < samples.size(); ++i)
            sum += std::abs(samples[2 * i]) + std::abs(samples[2 * i + 1]);
        return sum / static_cast<double>(std::max<std::size_t>(last - first, 1));
    };
    const double expected[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 3.7, 3.9, 4.1, 4.3, 4.5, 4.7, 4.9, 5.1};
    for (double t : expected) {
        EXPECT_GT(loudness(t + 0.0015, t + 0.008), 4 * loudness(t - 0.006, t - 0.0005) + 20) << t;
    }
}
