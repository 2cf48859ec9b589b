#pragma once
// SynthPort: the FluidSynth software synthesizer as an output port whose audio the program
// makes itself, block by block (Render), so that messages handed over ahead of their time
// (SendAt) sound on their own sample, and whose clock is the audio's: the frames rendered.
// The live port renders in the audio driver's callback; the offline render calls Render in a
// loop, a counter for a sound card; both are this class, so both sound the same.
//
// Threads: Send, SendAt and DropPending are the producer's (the engine's worker, or the
// offline loop); Render is the audio thread's; ClockNow may be read from any thread.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "OutputPort.h"
#include "SplitRenderer.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

inline constexpr int kSynthSampleRate = 44100;

class SynthPort final : public OutputPort {
  public:
    enum class Pacing {
        Unrendered,  // no audio is made: messages reach the synthesizer at once, no clock
        Offline,     // a loop renders as fast as it can: the clock is the frames rendered
        SoundCard,   // an audio callback renders in real time: the clock runs on between blocks
    };

    SynthPort();
    ~SynthPort() override;
    SynthPort(const SynthPort&) = delete;
    SynthPort& operator=(const SynthPort&) = delete;

    // Loads the SoundFont (LoadSoundFont's failures); OutOfMemory when there is no synthesizer.
    Status Load(const std::filesystem::path& soundFont);
    fluid_settings_t* Settings() const { return settings.get(); }
    fluid_synth_t* Synth() const { return synth.get(); }
    // Who renders, and how long the audio system holds what was rendered before it is heard;
    // set before messages flow. `soundCardLookahead`: how far ahead messages are handed over for
    // a sound card (the default suits a desktop; a slower, busier run may need more).
    void SetPacing(Pacing pacing, double latencySeconds = 0, std::optional<double> soundCardLookahead = {});

    void Send(const TimedMessage& message) override;
    bool SendAt(const TimedMessage& message, double due) override;
    void DropPending() override;
    std::optional<double> ClockNow() const override;
    double Latency() const override { return latency; }
    double Lookahead() const override;
    std::string Name() const override { return "Software Synthesizer (FluidSynth)"; }

    // Voices sounding now, releases included.
    int ActiveVoices() const;

    // The audio thread's: the next `frames` frames into `left` and `right`.
    void Render(float* left, float* right, int frames);

  private:
    struct SettingsDeleter {
        void operator()(fluid_settings_t* s) const;
    };
    struct SynthDeleter {
        void operator()(fluid_synth_t* s) const;
    };
    // The event for `message` at `frame`, or nothing when its system exclusive bytes do not fit.
    std::optional<SynthEvent> EventOf(const TimedMessage& message, int64_t frame) const;

    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings;
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth;
    std::unique_ptr<SplitRenderer> renderer;
    Pacing pacing = Pacing::Unrendered;
    double latency = 0;
    double soundCardLookahead;
    // The audio clock, written by Render alone and read anywhere: a version that is odd while
    // the block's frame and start time change, so a reader never sees half an update.
    std::atomic<uint32_t> clockVersion{0};
    std::atomic<int64_t> blockFrame{0};       // frames rendered before the current block
    std::atomic<int64_t> blockFrames{0};      // the current block's frames
    std::atomic<int64_t> blockStartNs{0};     // steady clock when it began, nanoseconds
};
