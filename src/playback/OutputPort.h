#pragma once
// OutputPort: where playback's MIDI messages go: the software synthesizer, a MIDI device, or
// a recording for tests. Send is called on the sound engine's thread only.

#include <string>
#include <vector>

#include "TimedMessage.h"
#include "io/Status.h"

class OutputPort {
  public:
    virtual ~OutputPort() = default;
    // Sends `message` now (its `tick` is the music time it was due, for recording).
    virtual void Send(const TimedMessage& message) = 0;
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
