#include "WavRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Sequencer.h"
#include "io/ByteWriter.h"

namespace {

constexpr int kBlockFrames = 512;  // as a sound card's period might be; messages split it
constexpr double kMaxTailSeconds = 5.0;
constexpr int kSilence = 2;  // sample values this small count as silence at the end

int16_t SampleOf(float value) {
    return static_cast<int16_t>(std::lrint(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

}  // namespace

Status RenderChart(const CChart& chart, const SongTimeline& song, int64_t startTick,
                   const std::filesystem::path& soundFont, std::vector<int16_t>& samples,
                   const RenderSettings& settings) {
    samples.clear();
    SynthPort port;
    if (Status status = port.Load(soundFont); !status) return status;
    port.SetPacing(SynthPort::Pacing::Offline);
    return RenderChartWith(port, chart, song, startTick, samples, settings);
}

Status RenderChartWith(SynthPort& port, const CChart& chart, const SongTimeline& song, int64_t startTick,
                       std::vector<int16_t>& samples, const RenderSettings& settings) {
    samples.clear();
    Sequencer sequencer(port);
    // The song is the caller's and outlives the render: the sequencer borrows it.
    sequencer.Load(std::shared_ptr<const SongTimeline>(std::shared_ptr<void>(), &song), chart);
    sequencer.SetAudible(Sequencer::AudibleMask(chart) | (settings.metronome ? Sequencer::kMetronome : 0) |
                         (settings.withoutPlayerNotes ? Sequencer::kChosenSilent : 0));
    const double start = *port.ClockNow();
    sequencer.SetSpeed(settings.speed, start);
    sequencer.Start(startTick, start);

    float left[kBlockFrames];
    float right[kBlockFrames];
    const auto tailBlocks = static_cast<int>(kMaxTailSeconds * kRenderSampleRate / kBlockFrames);
    bool handedAll = false;
    for (int tail = 0; tail <= tailBlocks;) {
        // Each pump hands over what is due within the next block, which then plays it.
        handedAll = handedAll || sequencer.Pump(*port.ClockNow()) == Sequencer::kNever ||
                    (settings.endTick && sequencer.Position(*port.ClockNow()) > *settings.endTick);
        port.Render(left, right, kBlockFrames);
        bool quiet = true;
        for (int i = 0; i < kBlockFrames; ++i) {
            const int16_t l = SampleOf(left[i]);
            const int16_t r = SampleOf(right[i]);
            samples.push_back(l);
            samples.push_back(r);
            quiet = quiet && std::abs(l) <= kSilence && std::abs(r) <= kSilence;
        }
        // Then the release tail, until the synthesizer falls silent or the tail's limit.
        if (!handedAll) continue;
        if (quiet && port.ActiveVoices() == 0) break;
        ++tail;
    }
    // A sound cut at the tail's limit must not ring into the port's next render.
    sequencer.Stop();
    return {};
}

std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples) {
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    ByteWriter out;
    out.Reserve(44 + std::size_t{dataBytes});
    out.Bytes("RIFF");
    out.U32(36 + dataBytes);
    out.Bytes("WAVEfmt ");
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(2);  // stereo
    out.U32(kRenderSampleRate);
    out.U32(kRenderSampleRate * 4);
    out.U16(4);
    out.U16(16);
    out.Bytes("data");
    out.U32(dataBytes);
    for (int16_t s : samples) out.U16(static_cast<uint16_t>(s));
    return std::move(out.Data());
}
