#pragma once
// Rendering a chart to a WAV file through the software synthesizer, offline and faster than
// real time: the live playing path (the sequencer handing messages ahead to the synthesizer
// port, which renders block by block, each message on its own sample) driven by a counter
// instead of a sound card. 44.1 kHz, 16-bit stereo, the first sample at the start point,
// ending once the last message is played and the synthesizer's release has died away (at
// most a few seconds).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "SongTimeline.h"
#include "SoundFont.h"
#include "SynthPort.h"
#include "chart/Chart.h"
#include "io/Status.h"

inline constexpr int kRenderSampleRate = kSynthSampleRate;

struct RenderSettings {
    double speed = 1;        // playback speed: 0.5 renders twice as long, at the same pitch
    bool metronome = false;  // the metronome's clicks with the music
    bool withoutPlayerNotes = false;  // the tracks' notes that are the player's are left out
    std::optional<int64_t> endTick{};  // nothing after this tick is played (the release still sounds)
};

// Renders `chart` with `song` from `startTick` (chart ticks), with what the chart's play filter
// leaves audible, into interleaved stereo samples. OpenInput when the SoundFont cannot be
// loaded.
Status RenderChart(const CChart& chart, const SongTimeline& song, int64_t startTick,
                   const std::filesystem::path& soundFont, std::vector<int16_t>& samples,
                   const RenderSettings& settings = {});

// The same with `port`, loaded and paced Offline, which goes on from where its clock stands:
// renders of many short sounds share one synthesizer (a SoundFont loads once).
Status RenderChartWith(SynthPort& port, const CChart& chart, const SongTimeline& song, int64_t startTick,
                       std::vector<int16_t>& samples, const RenderSettings& settings = {});

// The samples as the bytes of a WAV file.
std::vector<uint8_t> WavBytes(const std::vector<int16_t>& stereoSamples);
