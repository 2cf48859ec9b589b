#include "WavRenderer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "SoundFont.h"
#include "SoundLibraryLog.h"
#include "SplitRenderer.h"
#include "SynthMessages.h"
#include "io/ByteWriter.h"
#include "io/PathText.h"

namespace {

struct SettingsDeleter {
    void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
};
struct SynthDeleter {
    void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
};

constexpr int kBlockFrames = 512;  // as a sound card's period might be; messages split it
constexpr double kMaxTailSeconds = 5.0;
constexpr int kSilence = 2;  // sample values this small count as silence at the end

}  // namespace

Status RenderSchedule(const std::vector<ScheduledMessage>& schedule, const MusicClock& clock,
                      const std::filesystem::path& soundFont, std::vector<int16_t>& samples) {
    samples.clear();
    RouteSoundLibraryMessages();
    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings(new_fluid_settings());
    fluid_settings_setnum(settings.get(), "synth.sample-rate", kRenderSampleRate);
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth(new_fluid_synth(settings.get()));
    if (!synth) return Status::Fail(ErrorCode::OutOfMemory);
    if (Status status = LoadSoundFont(synth.get(), soundFont); !status) return status;

    int16_t block[kBlockFrames * 2];
    // The live path's renderer, driven by a counter instead of a sound card.
    SplitRenderer renderer(synth.get(), kRenderSampleRate, schedule, clock);
    while (!renderer.Finished()) {
        renderer.Render(block, kBlockFrames);
        samples.insert(samples.end(), block, block + kBlockFrames * 2);
    }
    // The release tail, until the synthesizer falls silent or the tail's limit.
    const auto tailBlocks = static_cast<int>(kMaxTailSeconds * kRenderSampleRate / kBlockFrames);
    for (int i = 0; i < tailBlocks; ++i) {
        fluid_synth_write_s16(synth.get(), kBlockFrames, block, 0, 2, block, 1, 2);
        samples.insert(samples.end(), block, block + kBlockFrames * 2);
        if (std::all_of(std::begin(block), std::end(block),
                        [](int16_t s) { return std::abs(s) <= kSilence; }) &&
            fluid_synth_get_active_voice_count(synth.get()) == 0)
            break;
    }
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
