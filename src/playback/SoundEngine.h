#pragma once
// SoundEngine: the output ports with a current one, and the sequencer playing on its own
// thread.
//
// Threading contract: every public function is called from one thread, the user-interface
// thread (or ryxtool's main thread). The engine's worker thread sends the messages; the two
// share the sequencer under one mutex, held by the caller only for the few microseconds a
// command or a position read takes, never while a port sends on the caller's behalf. The
// worker sleeps until the next message is due or a command wakes it; it never spins.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "OutputPort.h"
#include "Sequencer.h"

class SoundEngine {
  public:
    // The engine over `ports` (at least one); port 0 is current and opened at once.
    explicit SoundEngine(std::vector<std::unique_ptr<OutputPort>> ports);
    ~SoundEngine();
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    int PortCount() const { return static_cast<int>(ports.size()); }
    std::string PortName(int index) const;
    int CurrentPort() const { return current; }
    // Makes port `index` current, stopping playback; if it cannot be opened the previous port
    // stays current (and false is returned).
    bool ChangePort(int index);

    // The song and chart to play; stops playback. The chart must stay alive while loaded.
    void Load(SongTimeline song, const CChart& chart);
    // Starts at `tick` with the chart's notes as they are now.
    void Play(int64_t tick);
    void Pause();
    void Resume();
    void Stop();
    bool Playing() const;
    bool Paused() const;
    // Music time now, chart ticks.
    int64_t Position() const;
    // The play filter: bit t for track t, bit 16 for the player's notes (Sequencer::AudibleMask).
    void SetAudible(uint32_t mask);

  private:
    using Clock = std::chrono::steady_clock;
    double Now() const;
    void Run();

    std::vector<std::unique_ptr<OutputPort>> ports;
    int current = 0;
    Clock::time_point origin = Clock::now();
    mutable std::mutex lock;
    std::condition_variable wake;
    Sequencer sequencer;
    bool quit = false;
    std::thread worker;  // last, so it starts when everything it uses exists
};
