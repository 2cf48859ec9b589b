// Playback: how far each note goes out from its music time through the sound engine in real
// time (recording port, a dense chart), the CPU the engine uses while playing, and how fast
// the offline renderer turns out music.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <mutex>
#include <thread>

#include "chart/Lanes.h"
#include "midi_import/ConversionPipeline.h"
#include "playback/PlaySchedule.h"
#include "playback/SoundEngine.h"
#include "playback/SynthPort.h"
#include "playback/WavRenderer.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

using SteadyClock = std::chrono::steady_clock;

class StampingPort final : public OutputPort {
  public:
    void Send(const TimedMessage& message) override {
        std::lock_guard guard(lock);
        if (message.IsNoteOn()) stamps.emplace_back(message.tick, SteadyClock::now());
    }
    std::string Name() const override { return "stamps"; }
    std::mutex lock;
    std::vector<std::pair<int64_t, SteadyClock::time_point>> stamps;
};

double CpuSeconds() {
#ifndef _WIN32
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#else
    return 0;
#endif
}

void BM_NoteTimingThroughTheEngine(benchmark::State& state) {
    CChart chart;
    for (int i = 0; i < 400; ++i) {  // a note every 20 chart ticks, 13 ms at 120 bpm: about 5 s
        CNote note;
        note.time = i * 20;
        note.length = 15;
        note.key = static_cast<uint8_t>(48 + i % 24);
        note.velocity = 90;
        note.status = 0x90;
        chart.tracks[0].Append(note);
    }
    chart.usedTrackCount = 1;
    std::vector<double> errors;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<OutputPort>> ports;
        ports.push_back(std::make_unique<StampingPort>());
        auto* port = static_cast<StampingPort*>(ports.front().get());
        SoundEngine engine(std::move(ports));
        SongTimeline song;  // no song: 120 bpm throughout
        engine.LoadSong(song, chart);
        const double cpuStart = CpuSeconds();
        const auto start = SteadyClock::now();
        engine.StartSegment();
        while (engine.Position() < 8000) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        wall = std::chrono::duration<double>(SteadyClock::now() - start).count();
        cpu = CpuSeconds() - cpuStart;
        engine.StopSegment();
        std::lock_guard guard(port->lock);
        for (const auto& [tick, when] : port->stamps) {
            const double due = tick * 0.5 / 768;
            errors.push_back(std::abs(std::chrono::duration<double>(when - start).count() - due) * 1000);
        }
    }
    std::sort(errors.begin(), errors.end());
    auto at = [&](double q) {
        return errors.empty() ? 0 : errors[static_cast<std::size_t>(q * (errors.size() - 1))];
    };
    state.counters["p50ms"] = at(0.5);
    state.counters["p99ms"] = at(0.99);
    state.counters["maxms"] = errors.empty() ? 0 : errors.back();
    state.counters["cpuPercent"] = wall > 0 ? 100 * cpu / wall : 0;
}
BENCHMARK(BM_NoteTimingThroughTheEngine)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RenderDemoSong(benchmark::State& state) {
    std::ifstream in(RYX_SOURCE_DIR "/data/demo.mid", std::ios::binary);
    std::vector<uint8_t> midi((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CChart chart;
    ConversionLog log;
    const std::optional<std::vector<uint8_t>> accompaniment = ConvertSongBytes(midi, chart, log);
    SongTimeline song;
    if (!accompaniment || !SongTimeline::FromSongBytes(*accompaniment, song))
        state.SkipWithError("no demo song");
    chart.SetPlayFilter(kPlayAll);
    double seconds = 0;
    for (auto _ : state) {
        std::vector<int16_t> samples;
        RenderChart(chart, song, 0, DefaultSoundFont(), samples);
        seconds = static_cast<double>(samples.size() / 2) / kRenderSampleRate;
    }
    state.counters["musicSecondsPerSecond"] =
        benchmark::Counter(seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderDemoSong)->Unit(benchmark::kMillisecond);

// The audio callback's work for one block with 64 voices sounding (sustained strings on every
// channel), split in three by two messages due inside the block, as a busy song's would be:
// the cost as a share of the block's playing time.
void BM_AudioCallback64Voices(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    SynthPort port;
    if (!port.Load(DefaultSoundFont())) state.SkipWithError("no SoundFont");
    port.SetPacing(SynthPort::Pacing::Offline);
    for (uint8_t channel = 0; channel < 16; ++channel) {
        if (channel != 9) port.Send(TimedMessage::Make(0, static_cast<uint8_t>(0xC0 | channel), 48));
    }
    std::vector<float> left(static_cast<std::size_t>(frames));
    std::vector<float> right(static_cast<std::size_t>(frames));
    for (int note = 0; port.ActiveVoices() < 64 && note < 128; ++note) {
        const auto channel = static_cast<uint8_t>(note % 15 < 9 ? note % 15 : note % 15 + 1);
        port.Send(TimedMessage::Make(0, static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(40 + note % 48), 80));
        port.Render(left.data(), right.data(), frames);
    }
    const double blockSeconds = static_cast<double>(frames) / kSynthSampleRate;
    for (auto _ : state) {
        const double now = *port.ClockNow();
        for (int k = 1; k <= 2; ++k)
            port.SendAt(TimedMessage::Make(0, 0xB0, 7, static_cast<uint8_t>(100 + k)), now + k * blockSeconds / 3);
        port.Render(left.data(), right.data(), frames);
    }
    state.counters["voices"] = port.ActiveVoices();
    // Seconds a block over the block's seconds, in percent.
    state.counters["percentOfBlock"] = benchmark::Counter(
        blockSeconds / 100, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AudioCallback64Voices)->Arg(64)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);

}  // namespace
