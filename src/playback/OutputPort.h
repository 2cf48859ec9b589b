#pragma once
// OutputPort: where playback's MIDI messages go: the software synthesizer, a MIDI device, or
// a recording for tests. Sending is the sound engine's worker's alone (or the offline
// render's); the clock may be read from any thread.
//
// A port with a clock of its own (an audio stream) takes messages ahead of their time and plays
// each on its own sample: the sequencer hands it everything due within Lookahead() through
// SendAt, with the time on that clock. Ports without one play what they are sent at once, and
// the engine keeps time with its steady clock.

#include <optional>
#include <string>
#include <vector>

#include "TimedMessage.h"
#include "io/Status.h"

class OutputPort {
  public:
    virtual ~OutputPort() = default;
    // Sends `message` now (its `tick` is the music time it was due, for recording).
    virtual void Send(const TimedMessage& message) = 0;
    // Hands `message` over to sound at `due`, seconds on the port's clock. False when the port
    // cannot take it yet (its queue is full): the sequencer tries again a moment later.
    virtual bool SendAt(const TimedMessage& message, double due) {
        (void)due;
        Send(message);
        return true;
    }
    // Forgets what was handed over and is not yet played (a pause, a stop, a new start), and
    // lets every note go, since what it forgets may include note-offs.
    virtual void DropPending() {}
    // The port's own clock, seconds since it began, or nothing for a port without one.
    virtual std::optional<double> ClockNow() const { return std::nullopt; }
    // How long what the clock shows takes to be heard (the audio system's output latency).
    virtual double Latency() const { return 0; }
    // How far ahead of their time messages are handed to SendAt.
    virtual double Lookahead() const { return 0; }
    virtual std::string Name() const = 0;
    // Makes the port ready when it becomes the current one; PortUnusable, with the device's
    // reason, when it cannot be used.
    virtual Status Open() { return {}; }
    // Why a port that opened plays silently (no SoundFont, no audio output), or empty.
    virtual std::string Problem() const { return {}; }
    // Lets the device go when another port becomes current.
    virtual void Close() {}
};

// A port that keeps what it was sent, with the time the clock showed, for tests.
class RecordingPort final : public OutputPort {
  public:
    struct Sent {
        double seconds;  // the engine's clock when it was sent
        TimedMessage message;
    };

    void Send(const TimedMessage& message) override { sent.push_back({now, message}); }
    std::string Name() const override { return "Recording"; }
    Status Open() override { return opens ? Status{} : Status::Fail(ErrorCode::PortUnusable, Name()); }

    double now = 0;     // set by whoever drives the clock
    bool opens = true;  // tests make a port that cannot be opened
    std::vector<Sent> sent;
};
