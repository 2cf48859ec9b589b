// The sound engine's thread and ports: everything due is sent once, in order, on the engine's
// own thread; a port that cannot be opened leaves the previous one current.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

#include "playback/SoundEngine.h"
#include "playback/SystemPorts.h"
#include "playback/SynthPort.h"
#include "playback/WavRenderer.h"
#include "support/SmfBuilder.h"
#include "support/TestChart.h"

namespace {

// Records what the engine's thread sends; read once the engine is gone.
class ThreadRecordingPort final : public OutputPort {
  public:
    explicit ThreadRecordingPort(bool opens = true) : opens(opens) {}
    void Send(const TimedMessage& message) override {
        std::lock_guard guard(lock);
        sent.push_back(message);
        senders.push_back(std::this_thread::get_id());
    }
    std::string Name() const override { return opens ? "works" : "broken"; }
    Status Open() override { return opens ? Status{} : Status::Fail(ErrorCode::PortUnusable, Name()); }
    std::vector<TimedMessage> Sent() {
        std::lock_guard guard(lock);
        return sent;
    }
    std::vector<std::thread::id> Senders() {
        std::lock_guard guard(lock);
        return senders;
    }

  private:
    bool opens;
    std::mutex lock;
    std::vector<TimedMessage> sent;
    std::vector<std::thread::id> senders;
};

}  // namespace

TEST(SoundEngine, SendsEverythingDueOnItsOwnThreadInOrder) {
    std::vector<std::unique_ptr<OutputPort>> ports;
    ports.push_back(std::make_unique<ThreadRecordingPort>());
    auto* port = static_cast<ThreadRecordingPort*>(ports.front().get());
    SoundEngine engine(std::move(ports));

    CChart chart;
    for (int i = 0; i < 4; ++i)
        chart.tracks[i % 2].Append(MakeNote(i * 40, static_cast<uint8_t>(60 + i), i % 2, 20));
    chart.usedTrackCount = 2;
    chart.SetPlayFilter(0);
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000)})}), song));
    engine.LoadSong(std::move(song), chart);
    engine.SetAudible(Sequencer::AudibleMask(chart));
    engine.StartSegment();
    // 160 chart ticks at 120 bpm is about a tenth of a second; wait for it, however slow the machine.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (engine.Position() < 200 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    engine.StopSegment();

    std::vector<std::pair<uint8_t, uint8_t>> notes;  // status, key
    for (const TimedMessage& m : port->Sent()) {
        if ((m.status & 0xE0) == 0x80) notes.emplace_back(m.status, m.data1);
    }
    EXPECT_EQ(notes,
              (std::vector<std::pair<uint8_t, uint8_t>>{{0x90, 60}, {0x80, 60}, {0x90, 62}, {0x80, 62}}));
}

TEST(SoundEngine, APortThatCannotOpenLeavesThePreviousOne) {
    std::vector<std::unique_ptr<OutputPort>> ports;
    ports.push_back(std::make_unique<ThreadRecordingPort>());
    ports.push_back(std::make_unique<ThreadRecordingPort>(false));
    ports.push_back(std::make_unique<ThreadRecordingPort>());
    SoundEngine engine(std::move(ports));
    EXPECT_EQ(engine.PortCount(), 3);
    EXPECT_EQ(engine.ChangePort(1).Message(), "The output port cannot be opened (broken)");
    EXPECT_EQ(engine.CurrentPort(), 0);
    EXPECT_TRUE(engine.ChangePort(2));
    EXPECT_EQ(engine.CurrentPort(), 2);
    EXPECT_EQ(engine.PortName(1), "broken");
    EXPECT_EQ(engine.PortName(7), "");
}

TEST(SoundEngine, SegmentBookkeepingAcrossPauseResumeAndStop) {
    std::vector<std::unique_ptr<OutputPort>> ports;
    ports.push_back(std::make_unique<ThreadRecordingPort>());
    auto* port = static_cast<ThreadRecordingPort*>(ports.front().get());
    SoundEngine engine(std::move(ports));
    CChart chart;
    chart.tracks[0].Append(MakeNote(100000, 60, 0, 10));
    chart.usedTrackCount = 1;
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000)})}), song));
    engine.StartSegment();  // nothing loaded: nothing happens
    EXPECT_FALSE(engine.Started());
    engine.LoadSong(std::move(song), chart);
    engine.SetStartPoint(1000);
    engine.StartSegment();
    EXPECT_EQ(engine.SongOffset(), 1000);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    engine.PauseToggle();
    ASSERT_TRUE(engine.Paused());
    const int64_t paused = engine.Position();
    EXPECT_GT(paused, 1000);
    EXPECT_EQ(engine.SongOffset(), paused);
    EXPECT_GT(engine.ReferencePlayed(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(engine.Position(), paused);  // a paused song stays where it stopped
    engine.PauseToggle();                  // resumes from there
    EXPECT_TRUE(engine.Playing());
    EXPECT_GE(engine.Position(), paused);

    // A note played by hand sounds now and ends its length later in music time.
    CNote note = MakeNote(0, 72, 0, 20);
    engine.PlayNote(note);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    int ons = 0, offs = 0;
    for (const TimedMessage& m : port->Sent()) {
        if (m.data1 != 72) continue;
        ons += m.IsNoteOn();
        offs += m.IsNoteOff();
    }
    EXPECT_EQ(ons, 1);
    EXPECT_EQ(offs, 1);

    engine.StopSegment();
    EXPECT_FALSE(engine.Started());
    EXPECT_EQ(engine.SongOffset(), 0);
    EXPECT_EQ(engine.ReferencePlayed(), 0);
}

TEST(SystemPorts, TheSynthesizerSaysWhyItIsSilentAndTheAudioDriverCanBeChosen) {
    std::vector<std::unique_ptr<OutputPort>> ports = SystemPorts("/nonexistent/none.sf2");
    ASSERT_FALSE(ports.empty());
    EXPECT_TRUE(ports[0]->Open());  // silent, but usable: the view still plays
    EXPECT_EQ(ports[0]->Problem(), "Playing silently: the SoundFont none.sf2 does not load");
    ports[0]->Close();

    unsetenv("RYX_AUDIO_DRIVER");
    for (auto [setting, chosen] : {std::pair{"alsa", "alsa"}, std::pair{"jack", "jack"}, std::pair{"oss", ""},
                                   std::pair{"", ""}})
        EXPECT_EQ(ChosenAudioDriver(setting), chosen) << setting;
    setenv("RYX_AUDIO_DRIVER", "pipewire", 1);
    EXPECT_EQ(ChosenAudioDriver("alsa"), "pipewire");
    unsetenv("RYX_AUDIO_DRIVER");
}

TEST(SoundEngine, OnlyTheEnginesThreadEverSendsToAPort) {
    std::vector<std::unique_ptr<OutputPort>> ports;
    ports.push_back(std::make_unique<ThreadRecordingPort>());
    ports.push_back(std::make_unique<ThreadRecordingPort>());
    auto* first = static_cast<ThreadRecordingPort*>(ports[0].get());
    auto* second = static_cast<ThreadRecordingPort*>(ports[1].get());
    CChart chart;
    chart.tracks[0].Append(MakeNote(0, 60, 0, 2000));
    chart.usedTrackCount = 1;
    chart.SetPlayFilter(kPlayAll);
    SoundEngine engine(std::move(ports));
    {
        SongTimeline song;
        ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000), Ev(0, {0xC0, 5})})}), song));
        engine.LoadSong(std::move(song), chart);  // the reset
        engine.SetAudible(Sequencer::AudibleMask(chart));
        engine.StartSegment();  // the program, the note
        engine.PlayNote(MakeNote(0, 72, 0, 10));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        engine.PauseToggle();  // silences
        engine.PauseToggle();
        ASSERT_TRUE(engine.ChangePort(1));  // silences the first port, moves to the second
        engine.SendGmReset();
        engine.StopSegment();
        ASSERT_TRUE(engine.ChangePort(0));  // returns once the worker took every command before it
    }
    const std::thread::id self = std::this_thread::get_id();
    for (ThreadRecordingPort* port : {first, second}) {
        const std::vector<std::thread::id> senders = port->Senders();
        EXPECT_FALSE(senders.empty());
        for (std::thread::id sender : senders) EXPECT_NE(sender, self);
    }
}

namespace {

// When each note starts in `left` (one channel of audio at 44.1 kHz): the first sample above a
// level after a quarter of a second below it.
std::vector<int64_t> Onsets(const std::vector<float>& left) {
    constexpr float kLevel = 0.004f;
    constexpr int kQuiet = 44100 / 4;
    std::vector<int64_t> onsets;
    int quiet = kQuiet;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (std::abs(left[i]) < kLevel) {
            ++quiet;
            continue;
        }
        if (quiet >= kQuiet) onsets.push_back(static_cast<int64_t>(i));
        quiet = 0;
    }
    return onsets;
}

}  // namespace

TEST(SoundEngine, TheSynthesizerPlaysEachNoteOnItsSampleAndThePositionIsWhatIsHeard) {
    // A sound card played in real time by a thread of the test, 256 frames a block, with a
    // stated output latency of 50 ms.
    constexpr int kBlock = 256;
    constexpr double kLatency = 0.05;
    auto synth = std::make_unique<SynthPort>();
    ASSERT_TRUE(synth->Load(DefaultSoundFont()));
    // Messages go a quarter of a second ahead: a sanitizer's slow, busy run still hands each
    // over before its block is rendered, which is what this test is about.
    synth->SetPacing(SynthPort::Pacing::SoundCard, kLatency, 0.25);
    SynthPort* card = synth.get();
    std::vector<std::unique_ptr<OutputPort>> ports;
    ports.push_back(std::move(synth));
    SoundEngine engine(std::move(ports));
    std::vector<float> heard;
    heard.reserve(44100 * 20);
    std::atomic<bool> running{true};
    std::thread soundCard([&] {
        float left[kBlock];
        float right[kBlock];
        auto next = std::chrono::steady_clock::now();
        while (running) {
            card->Render(left, right, kBlock);
            heard.insert(heard.end(), left, left + kBlock);
            next += std::chrono::microseconds(1000000 * kBlock / 44100);
            std::this_thread::sleep_until(next);
        }
    });

    // Short loud notes half a second apart, at ticks that fall anywhere in a block.
    CChart chart;
    for (int32_t tick : {0, 768 + 17, 1536 + 71, 2304 + 130}) {
        CNote note = MakeNote(tick, 60, 0, 96);
        note.velocity = 127;
        chart.tracks[0].Append(note);
    }
    chart.usedTrackCount = 1;
    chart.SetPlayFilter(kPlayAll);
    SongTimeline song;
    ASSERT_TRUE(SongTimeline::FromSongBytes(Smf(1, 96, {Track({Tempo(0, 500000)})}), song));
    SongTimeline offlineSong = song;
    engine.LoadSong(std::move(song), chart);
    engine.SetAudible(Sequencer::AudibleMask(chart));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the reset, then silence
    const double startClock = *card->ClockNow();
    engine.StartSegment();
    EXPECT_EQ(engine.Position(), 0);
    // The position moves once the first messages' time has come and their sound is heard:
    // the engine's lookahead plus the latency after Start.
    double moved = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (engine.Position() < 3072 + 768 && std::chrono::steady_clock::now() < deadline) {
        const double clock = *card->ClockNow();
        if (moved == 0 && engine.Position() > 0) moved = clock;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    running = false;
    soundCard.join();
    EXPECT_GE(moved, startClock + card->Lookahead() + kLatency);
    EXPECT_LT(moved, startClock + card->Lookahead() + kLatency + 0.05);

    // Each note sounds where the offline render puts it, counted from the first one, within
    // the synthesizer's own 64-sample step.
    std::vector<int16_t> offline;
    ASSERT_TRUE(RenderChart(chart, offlineSong, 0, DefaultSoundFont(), offline));
    std::vector<float> offlineLeft;
    for (std::size_t i = 0; i < offline.size(); i += 2) offlineLeft.push_back(offline[i] / 32767.0f);
    const std::vector<int64_t> live = Onsets(heard);
    const std::vector<int64_t> rendered = Onsets(offlineLeft);
    ASSERT_EQ(live.size(), 4u);
    ASSERT_EQ(rendered.size(), 4u);
    for (std::size_t i = 1; i < live.size(); ++i)
        EXPECT_LE(std::abs((live[i] - live[0]) - (rendered[i] - rendered[0])), 64) << "note " << i;
}
