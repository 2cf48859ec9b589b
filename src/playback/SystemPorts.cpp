#include "SystemPorts.h"

#include <RtMidi.h>
#include <fluidsynth.h>
#include <jack/jack.h>

#include <cstdlib>
#include <system_error>

#include "SoundFont.h"
#include "SoundLibraryLog.h"
#include "SynthPort.h"
#include "io/PathText.h"

namespace {

// The MIDI output ports of one RtMidi interface; none when it is not there.
void AddMidiPorts(RtMidi::Api api, std::vector<std::unique_ptr<OutputPort>>& ports);

// The audio drivers to try in turn: the chosen one alone, or every one the program knows.
std::vector<std::string> AudioDrivers(const std::string& chosen) {
    if (!chosen.empty()) return {chosen};
    return {std::begin(kAudioDrivers), std::end(kAudioDrivers)};
}

// The audio driver's callback: the synthesizer port renders the block itself.
int RenderForDriver(void* port, int frames, int, float**, int outputs, float** out) {
    if (outputs < 2) return FLUID_FAILED;
    static_cast<SynthPort*>(port)->Render(out[0], out[1], frames);
    return FLUID_OK;
}

// The audio system holds about its periods' worth of audio before it is heard: the stated
// estimate of the output latency (FluidSynth does not report the device's own).
double DriverLatency(fluid_settings_t* settings) {
    int periodSize = 0;
    int periods = 0;
    fluid_settings_getint(settings, "audio.period-size", &periodSize);
    fluid_settings_getint(settings, "audio.periods", &periods);
    return static_cast<double>(periodSize) * periods / kSynthSampleRate;
}

class FluidSynthPort final : public OutputPort {
  public:
    FluidSynthPort(const std::filesystem::path& soundFont, std::string audioDriver)
        : soundFont(soundFont), audioDriver(std::move(audioDriver)) {}
    ~FluidSynthPort() override { Close(); }

    std::string Name() const override {
        std::string name = "Software Synthesizer (FluidSynth)";
        if (!problem.empty()) name += " \u2014 " + problem;
        return name;
    }

    Status Open() override {
        if (synth) return {};
        synth = std::make_unique<SynthPort>();
        if (Status loaded = synth->Load(soundFont); !loaded) {
            problem = "no SoundFont";
            // Short enough for the status line; ryxtool play and render name the library's reason.
            reason = "the SoundFont " + PathText(soundFont.filename()) + " does not load";
        } else {
            OpenDriver();
            problem = driver ? "" : "no audio output";
            reason = driver                ? ""
                     : audioDriver.empty() ? "no audio output opens"
                                           : "the audio driver " + audioDriver + " does not open";
        }
        // Even silent, the port stays usable: the music clock runs and the view plays.
        return {};
    }

    std::string Problem() const override { return reason.empty() ? "" : "Playing silently: " + reason; }

    void Close() override {
        // The driver first: its callback renders through the synthesizer.
        if (driver) delete_fluid_audio_driver(driver);
        driver = nullptr;
        synth.reset();
    }

    void Send(const TimedMessage& message) override {
        if (synth) synth->Send(message);
    }
    bool SendAt(const TimedMessage& message, double due) override { return !synth || synth->SendAt(message, due); }
    void DropPending() override {
        if (synth) synth->DropPending();
    }
    std::optional<double> ClockNow() const override { return synth ? synth->ClockNow() : std::nullopt; }
    double Latency() const override { return synth ? synth->Latency() : 0; }
    double Lookahead() const override { return synth ? synth->Lookahead() : 0; }

  private:
    void OpenDriver() {
        fluid_settings_t* settings = synth->Settings();
        // JACK must not start a server of its own just to be asked.
        setenv("JACK_NO_START_SERVER", "1", 0);
        // The audio is rendered in our callback, so each message sounds on its own sample and
        // the clock is the audio's; a driver without callbacks renders by itself, and
        // messages then take effect at its next block.
        synth->SetPacing(SynthPort::Pacing::SoundCard, DriverLatency(settings));
        for (const std::string& name : AudioDrivers(audioDriver)) {
            fluid_settings_setstr(settings, "audio.driver", name.c_str());
            driver = new_fluid_audio_driver2(settings, RenderForDriver, synth.get());
            if (driver) return;
        }
        synth->SetPacing(SynthPort::Pacing::Unrendered);
        for (const std::string& name : AudioDrivers(audioDriver)) {
            fluid_settings_setstr(settings, "audio.driver", name.c_str());
            driver = new_fluid_audio_driver(settings, synth->Synth());
            if (driver) return;
        }
    }

    std::filesystem::path soundFont;
    std::unique_ptr<SynthPort> synth;
    fluid_audio_driver_t* driver = nullptr;
    std::string audioDriver;  // the one to use, or empty for the first that opens
    std::string problem;      // short, in the port's name
    std::string reason;       // whole, for the status line
};

class RtMidiPort final : public OutputPort {
  public:
    RtMidiPort(RtMidi::Api api, unsigned index, std::string name)
        : api(api), index(index), name(std::move(name)) {}

    std::string Name() const override { return name; }

    Status Open() override {
        try {
            out = std::make_unique<RtMidiOut>(api);
            out->openPort(index);
            return {};
        } catch (const RtMidiError& error) {
            out.reset();
            Status status = Status::Fail(ErrorCode::PortUnusable, name);
            status.reason = error.getMessage();
            return status;
        }
    }

    void Close() override { out.reset(); }

    void Send(const TimedMessage& m) override {
        if (!out || m.status == kTempoMessage) return;
        try {
            if (m.status == kSysExMessage) {
                // Rare (a reset, a song's own); the framed copy reuses one buffer.
                sysex.assign(1, 0xF0);
                sysex.insert(sysex.end(), m.sysex.begin(), m.sysex.end());
                sysex.push_back(0xF7);
                out->sendMessage(sysex.data(), sysex.size());
            } else {
                // A channel message from the stack: sending allocates nothing.
                const uint8_t kind = m.status & 0xF0;
                const unsigned char bytes[3] = {m.status, m.data1, m.data2};
                out->sendMessage(bytes, kind == 0xC0 || kind == 0xD0 ? 2 : 3);
            }
        } catch (const RtMidiError&) {
            // A device that went away: the message is lost, playback goes on.
        }
    }

  private:
    RtMidi::Api api;
    unsigned index;
    std::string name;
    std::unique_ptr<RtMidiOut> out;
    std::vector<unsigned char> sysex;
};

void AddMidiPorts(RtMidi::Api api, std::vector<std::unique_ptr<OutputPort>>& ports) {
    try {
        RtMidiOut probe(api);
        for (unsigned i = 0; i < probe.getPortCount(); ++i)
            ports.push_back(std::make_unique<RtMidiPort>(api, i, probe.getPortName(i)));
    } catch (const RtMidiError&) {
        // This interface is not there: no ports from it.
    }
}

}  // namespace

std::string ChosenAudioDriver(const std::string& setting) {
    const char* fromEnvironment = std::getenv("RYX_AUDIO_DRIVER");
    const std::string chosen = fromEnvironment && *fromEnvironment ? fromEnvironment : setting;
    for (const char* known : kAudioDrivers)
        if (chosen == known) return chosen;
    return {};
}

std::vector<std::unique_ptr<OutputPort>> SystemPorts(const std::filesystem::path& soundFont,
                                                     const std::string& audioDriver) {
    // The libraries complain loudly on a machine without sound; the port list says what
    // matters in its names, and their messages go to the sound log.
    RouteSoundLibraryMessages();
    std::vector<std::unique_ptr<OutputPort>> ports;
    ports.push_back(std::make_unique<FluidSynthPort>(soundFont, ChosenAudioDriver(audioDriver)));
    // Without the ALSA sequencer device RtMidi's ALSA interface only prints an error.
    std::error_code error;
    if (std::filesystem::exists("/dev/snd/seq", error)) AddMidiPorts(RtMidi::LINUX_ALSA, ports);
    // Likewise without a JACK server; asking JACK itself (quietened above) tells.
    if (jack_client_t* probe = jack_client_open("ryx-probe", JackNoStartServer, nullptr)) {
        jack_client_close(probe);
        AddMidiPorts(RtMidi::UNIX_JACK, ports);
    }
    return ports;
}
