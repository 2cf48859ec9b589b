// The sequencer against a manual clock, through the recording port: when each message goes
// out, the play filter while playing, pause and resume, and starting elsewhere.

#include <gtest/gtest.h>

#include "playback/PlaySchedule.h"
#include "playback/Sequencer.h"
#include "support/SmfBuilder.h"
#include "support/TestChart.h"

namespace {

// 120 bpm, then 240 bpm from the second quarter (768 chart ticks); a program on channel 2.
SongTimeline Song() {
    SongTimeline song;
    EXPECT_TRUE(SongTimeline::FromSongBytes(
        Smf(1, 96, {Track({Tempo(0, 500000), Tempo(96, 250000)}), Track({Ev(0, {0xC2, 33})})}), song));
    return song;
}

struct Played {
    Played() : sequencer(port) {
        chart.tracks[0].Append(MakeNote(0, 60, 0, 384));     // 0 s .. 0.25 s
        chart.tracks[1].Append(MakeNote(384, 62, 1, 96));    // 0.25 s
        chart.tracks[0].Append(MakeNote(1536, 64, 0, 768));  // 0.75 s, a quarter at 240 bpm
        chart.usedTrackCount = 2;
        sequencer.Load(Song(), chart);
    }
    // Steps the manual clock to `seconds`, sending what is due.
    void RunTo(double seconds) {
        port.now = seconds;
        sequencer.Pump(seconds);
    }
    // (seconds, status, key) of the notes sent.
    std::vector<std::tuple<double, uint8_t, uint8_t>> Notes() const {
        std::vector<std::tuple<double, uint8_t, uint8_t>> out;
        for (const auto& sent : port.sent)
            if ((sent.message.status & 0xE0) == 0x80)
                out.emplace_back(sent.seconds, sent.message.status & 0xF0, sent.message.data1);
        return out;
    }

    CChart chart;
    RecordingPort port;
    Sequencer sequencer;
};

using N = std::vector<std::tuple<double, uint8_t, uint8_t>>;

}  // namespace

TEST(Sequencer, SendsEachMessageWhenItsMusicTimeComes) {
    Played p;
    p.sequencer.Start(0, 0.0);
    const double due = p.sequencer.Pump(0.0);
    EXPECT_DOUBLE_EQ(due, 0.0625);  // the metronome's first click ends (scheduled, but off)
    ASSERT_GE(p.port.sent.size(), 2u);
    EXPECT_EQ(p.port.sent[0].message.sysex,
              (std::vector<uint8_t>{0x7E, 0x7F, 0x09, 0x01}));  // loading resets
    EXPECT_EQ(p.port.sent[1].message.status, 0xC2);             // the song's program, its note never
    for (double t : {0.25, 0.3125, 0.75, 0.999, 1.0}) p.RunTo(t);
    // The last note lasts a quarter at the faster tempo: a quarter of a second.
    EXPECT_EQ(p.Notes(), (N{{0.0, 0x90, 60},
                            {0.25, 0x80, 60},
                            {0.25, 0x90, 62},
                            {0.3125, 0x80, 62},
                            {0.75, 0x90, 64},
                            {1.0, 0x80, 64}}));
    EXPECT_EQ(p.sequencer.Pump(2.0), Sequencer::kNever);
    EXPECT_EQ(p.sequencer.Position(1.0), 1536 + 768);
}

TEST(Sequencer, MutedTracksAreSilentEvenWhenMutedWhilePlaying) {
    Played p;
    p.chart.SetPlayFilter(1);
    p.sequencer.SetAudible(Sequencer::AudibleMask(p.chart));
    p.sequencer.Start(0, 0.0);
    p.RunTo(0.1);
    p.chart.SetPlayFilter(kPlayAll);
    p.sequencer.SetAudible(Sequencer::AudibleMask(p.chart));
    for (double t : {0.25, 0.3125, 0.75, 1.0}) p.RunTo(t);
    // The first note was muted when due, so neither it nor its end is sent.
    EXPECT_EQ(p.Notes(), (N{{0.25, 0x90, 62}, {0.3125, 0x80, 62}, {0.75, 0x90, 64}, {1.0, 0x80, 64}}));
}

TEST(Sequencer, PauseSilencesAndResumeContinuesExactly) {
    Played p;
    p.sequencer.Start(0, 0.0);
    p.RunTo(0.0);
    p.RunTo(0.1);
    p.port.now = 0.125;
    p.sequencer.Pause(0.125);
    EXPECT_EQ(p.sequencer.Position(50.0), 192);  // a quarter of a quarter note in
    EXPECT_EQ(p.sequencer.Pump(0.5), Sequencer::kNever);
    EXPECT_EQ(p.Notes(), (N{{0.0, 0x90, 60}, {0.125, 0x80, 60}}));  // silenced at the pause
    p.sequencer.Resume(10.0);
    for (double t : {10.125, 10.1875, 10.625}) p.RunTo(t);
    EXPECT_EQ(
        p.Notes(),
        (N{{0.0, 0x90, 60}, {0.125, 0x80, 60}, {10.125, 0x90, 62}, {10.1875, 0x80, 62}, {10.625, 0x90, 64}}));
}

TEST(Sequencer, StartingElsewhereSendsWhatIsInForceThere) {
    Played p;
    p.sequencer.Start(1000, 5.0);
    p.RunTo(5.0);
    ASSERT_GE(p.port.sent.size(), 2u);
    EXPECT_EQ(p.port.sent[1].message.status, 0xC2);
    EXPECT_EQ(p.port.sent[1].message.data1, 33);
    // From 1000 the faster tempo is in force: the note at 1536 comes 536 ticks at 240 bpm later.
    p.RunTo(5.0 + 536 * 0.25 / 768);
    EXPECT_EQ(p.Notes(), (N{{5.0 + 536 * 0.25 / 768, 0x90, 64}}));

    RecordingPort other;
    p.sequencer.SetPort(other);  // the sounding note ends on the port it started on
    EXPECT_EQ(p.Notes().size(), 2u);
    p.sequencer.Stop();
    EXPECT_EQ(p.sequencer.Position(9.0), 0);
    EXPECT_FALSE(p.sequencer.Playing());
}

namespace {

// A port with a clock of its own that takes messages 0.2 s ahead: they wait until the test's
// sound card plays up to their time, and a drop forgets the ones still waiting.
class AheadPort final : public OutputPort {
  public:
    void Send(const TimedMessage& message) override { played.push_back({now, message}); }
    bool SendAt(const TimedMessage& message, double due) override {
        waiting.push_back({due, message});
        return true;
    }
    void DropPending() override { waiting.clear(); }
    std::optional<double> ClockNow() const override { return now; }
    double Lookahead() const override { return 0.2; }
    std::string Name() const override { return "ahead"; }

    void PlayUntil(double seconds) {
        now = seconds;
        for (auto w = waiting.begin(); w != waiting.end();) {
            if (w->seconds > seconds) {
                ++w;
                continue;
            }
            played.push_back(*w);
            w = waiting.erase(w);
        }
    }

    double now = 0;
    std::vector<RecordingPort::Sent> waiting;
    std::vector<RecordingPort::Sent> played;
};

}  // namespace

TEST(Sequencer, MessagesHandedAheadAndDroppedAtAPauseArePlayedAfterResuming) {
    CChart chart;
    chart.tracks[0].Append(MakeNote(0, 60, 0, 384));
    chart.tracks[1].Append(MakeNote(384, 62, 1, 96));
    chart.tracks[0].Append(MakeNote(1536, 64, 0, 768));
    chart.usedTrackCount = 2;
    AheadPort port;
    Sequencer sequencer(port);
    sequencer.Load(Song(), chart);
    sequencer.Start(0, 0.0);
    auto runTo = [&](double t) {
        port.PlayUntil(t);
        return sequencer.Pump(t);
    };
    EXPECT_DOUBLE_EQ(runTo(0.0), 0.05);  // the next message is due at 0.25: handed over at 0.05
    runTo(0.1);                          // hands over the first note's end and the second note
    ASSERT_EQ(port.waiting.size(), 2u);
    port.PlayUntil(0.125);
    sequencer.Pause(0.125);  // they were not heard yet: dropped here, played after resuming
    EXPECT_EQ(sequencer.Position(0.125), 192);
    sequencer.Resume(10.0);
    for (double t : {10.0, 10.125, 10.1875, 10.625, 10.8, 11.0}) runTo(t);
    N notes;
    for (const auto& p : port.played)
        if ((p.message.status & 0xE0) == 0x80) notes.emplace_back(p.seconds, p.message.status & 0xF0, p.message.data1);
    // The first note's end was dropped (the port lets every note go itself); the second note,
    // handed over but never heard, is silenced and played in full after resuming.
    EXPECT_EQ(notes, (N{{0.0, 0x90, 60},
                        {0.125, 0x80, 62},
                        {10.125, 0x90, 62},
                        {10.1875, 0x80, 62},
                        {10.625, 0x90, 64},
                        {10.875, 0x80, 64}}));
}
