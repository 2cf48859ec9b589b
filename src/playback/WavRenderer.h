#pragma once
// Rendering a play schedule to a WAV file through the FluidSynth software synthesizer,
// offline and faster than real time: 44.1 kHz, 16-bit stereo, the first sample at the start
// point, ending once the last message is played and the synthesizer's release has died away
// (at most a few seconds).

#include <cstdint>
#include <filesystem>
#include <vector>

#include "MusicClock.h"
#include "SoundFont.h"
#include "PlaySchedule.h"
#include "TimedMessage.h"
#include "io/Status.h"

inline constexpr int kRenderSampleRate = 44100;

// Renders `schedule` (time order) with `clock` as its music clock into interleaved stereo
// samples. OpenInput when the SoundFont cannot be loaded.
Status RenderSchedule(const std::vector<ScheduledMessage>& schedule, const MusicClock& clock,
                      const std::filesystem::path& soundFont, std::vector<int16_t>& samples);

// The samples as the bytes of a WAV file.
std::vector<uint8_t> WavBytes(const std::vector<int16_t>& stereoSamples);
