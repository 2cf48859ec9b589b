#include "SynthPort.h"

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "SoundFont.h"
#include "SoundLibraryLog.h"
#include "SynthMessages.h"

namespace {

// Messages go to the audio callback this far ahead of their time: more than a sound card's
// period plus the worker's wake-up delay on a busy machine, so each is queued before its
// block is rendered.
constexpr double kSoundCardLookahead = 0.030;
// The offline loop pumps once a block and renders right after: a block's worth ahead.
constexpr double kOfflineLookahead = 512.0 / kSynthSampleRate;

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void SynthPort::SettingsDeleter::operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
void SynthPort::SynthDeleter::operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }

SynthPort::SynthPort() : settings(new_fluid_settings()), soundCardLookahead(kSoundCardLookahead) {
    RouteSoundLibraryMessages();
    if (!settings) return;
    fluid_settings_setnum(settings.get(), "synth.sample-rate", kSynthSampleRate);
    synth.reset(new_fluid_synth(settings.get()));
    if (synth) renderer = std::make_unique<SplitRenderer>(synth.get());
}

SynthPort::~SynthPort() = default;

Status SynthPort::Load(const std::filesystem::path& soundFont) {
    if (!synth) return Status::Fail(ErrorCode::OutOfMemory);
    return LoadSoundFont(synth.get(), soundFont);
}

void SynthPort::SetPacing(Pacing newPacing, double latencySeconds, std::optional<double> lookahead) {
    pacing = synth ? newPacing : Pacing::Unrendered;
    latency = latencySeconds;
    soundCardLookahead = lookahead.value_or(kSoundCardLookahead);
}

std::optional<SynthEvent> SynthPort::EventOf(const TimedMessage& m, int64_t frame) const {
    SynthEvent event;
    if (m.status == kSysExMessage) {
        if (m.sysex.size() > event.sysex.size()) return std::nullopt;
        std::copy(m.sysex.begin(), m.sysex.end(), event.sysex.begin());
        event.sysexSize = static_cast<uint8_t>(m.sysex.size());
    }
    event.frame = frame;
    event.generation = renderer->Generation();
    event.status = m.status;
    event.data1 = m.data1;
    event.data2 = m.data2;
    return event;
}

void SynthPort::Send(const TimedMessage& m) {
    if (!synth || m.status == kTempoMessage) return;
    // The synthesizer's calls are safe from any thread, so what cannot be queued (nobody
    // renders, a long system exclusive message, a full queue) is played at once.
    if (pacing != Pacing::Unrendered) {
        const std::optional<SynthEvent> event = EventOf(m, SynthEvent::kAtOnce);
        if (event && renderer->Queue(*event)) return;
    }
    SendToSynth(synth.get(), m);
}

bool SynthPort::SendAt(const TimedMessage& m, double due) {
    if (pacing == Pacing::Unrendered || m.status == kTempoMessage) {
        Send(m);
        return true;
    }
    const auto frame = static_cast<int64_t>(std::ceil(due * kSynthSampleRate - 1e-6));
    const std::optional<SynthEvent> event = EventOf(m, frame);
    if (!event) {
        SendToSynth(synth.get(), m);
        return true;
    }
    return renderer->Queue(*event);
}

void SynthPort::DropPending() {
    if (!renderer) return;
    renderer->DropPending();
    // The dropped messages may include note-offs of notes already sounding: every channel lets
    // its notes go (All Notes Off), as their note-offs would have.
    for (uint8_t channel = 0; channel < 16; ++channel)
        Send(TimedMessage::Make(0, static_cast<uint8_t>(0xB0 | channel), 123, 0));
}

std::optional<double> SynthPort::ClockNow() const {
    if (pacing == Pacing::Unrendered) return std::nullopt;
    int64_t frame = 0;
    int64_t frames = 0;
    int64_t startNs = 0;
    for (;;) {
        const uint32_t before = clockVersion.load(std::memory_order_acquire);
        // Acquire loads, so the second look at the version comes after them.
        frame = blockFrame.load(std::memory_order_acquire);
        frames = blockFrames.load(std::memory_order_acquire);
        startNs = blockStartNs.load(std::memory_order_acquire);
        if (before % 2 == 0 && clockVersion.load(std::memory_order_relaxed) == before) break;
    }
    if (pacing == Pacing::Offline) return static_cast<double>(frame + frames) / kSynthSampleRate;
    // Between callbacks the sound card plays on: the clock runs with real time through the
    // block under way, never past its end, so it never steps back when the next one begins.
    const double into = startNs == 0 ? 0 : static_cast<double>(SteadyNs() - startNs) * 1e-9;
    return (static_cast<double>(frame) + std::clamp(into * kSynthSampleRate, 0.0, static_cast<double>(frames))) /
           kSynthSampleRate;
}

double SynthPort::Lookahead() const {
    switch (pacing) {
        case Pacing::Unrendered: return 0;
        case Pacing::Offline: return kOfflineLookahead;
        case Pacing::SoundCard: return soundCardLookahead;
    }
    return 0;
}

int SynthPort::ActiveVoices() const {
    return synth ? fluid_synth_get_active_voice_count(synth.get()) : 0;
}

void SynthPort::Render(float* left, float* right, int frames) {
    const int64_t before = blockFrame.load(std::memory_order_relaxed) + blockFrames.load(std::memory_order_relaxed);
    clockVersion.fetch_add(1, std::memory_order_acq_rel);
    // Release stores: a reader that sees one of them also sees the odd version before it.
    blockFrame.store(before, std::memory_order_release);
    blockFrames.store(frames, std::memory_order_release);
    blockStartNs.store(pacing == Pacing::SoundCard ? SteadyNs() : 0, std::memory_order_release);
    clockVersion.fetch_add(1, std::memory_order_release);
    renderer->Render(left, right, frames);
}
