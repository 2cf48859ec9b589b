#pragma once
// SoundEngine: the output ports with a current one, and the sequencer playing on the engine's
// own thread (the worker).
//
// Threading contract: every public function is called from one thread, the owner's (the
// user-interface thread, or ryxtool's main thread). The worker owns the sequencer and is the
// only thread that sends to a port once the engine runs: the owner hands it commands (load a
// song, start, pause, resume, stop, change port, play a note, set the play filter) through a
// queue whose lock is held only to push or take commands, never while sending. Schedules are
// built on the owner's thread and handed over whole; what the worker lets go of (the previous
// schedule) goes back to the owner to free, so the worker neither allocates nor frees while
// playing. The owner reads the position from its own copy of the transport, which the same
// commands with the same times keep equal to the worker's, so it never waits on the worker.
// The worker sleeps until the next message is due or a command arrives; for a MIDI device it
// wakes a quarter of a millisecond early and waits out the rest awake, so notes go out on time.
//
// Clocks: a port with a clock of its own (the software synthesizer's audio stream) sets the
// time: the worker hands it each message ahead of time to be played on its own sample, and the
// position is that clock less the audio system's output latency, so the view shows what is
// heard. For other ports (MIDI devices) the worker sends each message when it is due by the
// steady clock.

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
#include "Transport.h"

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
    // Makes port `index` current, stopping playback: it is opened here, the worker silences
    // the previous one and moves to it, then the previous one is closed. If it cannot be
    // opened the previous port stays current and the reason is returned.
    Status ChangePort(int index);
    // Why the current port plays silently, or empty.
    std::string CurrentPortProblem() const;

    // The song and chart to play: stops a loaded song (StopSegment), sends the General MIDI
    // reset, and holds the song until another is loaded. The chart must stay alive meanwhile.
    void LoadSong(SongTimeline song, const CChart& chart);
    // Where StartSegment and ResumeSegment start, chart ticks.
    void SetStartPoint(int64_t tick);
    // Only when loaded: resumes when paused; otherwise, when not started, starts at the start
    // point with the song's tempo there (as a resume does), `leadIn` seconds from now.
    void StartSegment(double leadIn = 0);
    // Only when started: pauses (songOffset and referencePlayed take in what was played, the
    // start point becomes where it stopped) or, when paused, ResumeSegment.
    void PauseToggle();
    // Only when paused: plays again from the start point.
    void ResumeSegment();
    // Only when started: silences, forgets the position, start point 0.
    void StopSegment();
    // Plays `note` now on its channel, its end `length` chart ticks later in music time.
    void PlayNote(const CNote& note);
    void SendGmReset();

    struct Time {
        int64_t reference = 0;  // 100-nanosecond units since the engine started
        int64_t music = 0;      // music time, chart ticks
    };
    Time CurrentTime() const;

    bool Loaded() const { return loaded; }
    bool Started() const { return started; }
    bool Paused() const { return paused; }
    bool Playing() const { return started && !paused; }
    // Song position from which the segment was started, chart ticks.
    int64_t SongOffset() const { return songOffset; }
    // Music time at which the current run began.
    int64_t SegmentStart() const { return segmentStart; }
    // Reference time played before the pauses, 100-nanosecond units.
    int64_t ReferencePlayed() const { return referencePlayed; }

    // The song position now: music time + songOffset - segmentStart.
    int64_t Position() const;
    // The song's milliseconds heard `secondsAgo` before now: exact, between ticks too, and
    // counting up through a lead-in (before the start point).
    double HeardSongMs(double secondsAgo = 0) const;
    // The play filter: bit t for track t, bit 16 for the player's notes (Sequencer::AudibleMask).
    void SetAudible(uint32_t mask);
    // The playback speed in percent (25..200), at once, playing or not: the music clock runs
    // slower or faster, the pitch stays.
    void SetSpeed(int percent);
    int SpeedPercent() const { return speedPercent; }
    // The metronome's clicks on or off, at once, whatever the play filter.
    void SetMetronome(bool on);
    bool Metronome() const { return metronome; }

  private:
    // One request of the owner to the worker, with the clock time it was made at.
    struct Command {
        enum class Kind { Load, Start, Pause, Resume, Stop, Port, Note, Audible, Reset, Speed, Quit } kind;
        double now = 0;
        int64_t tick = 0;                        // Start: where; Note: the note's length
        std::vector<Sequencer::Entry> schedule{};  // Start: built on the owner's thread
        std::shared_ptr<const SongTimeline> song{};  // Load
        const CChart* chart = nullptr;           // Load
        TimedMessage message{};                  // Note: the note-on
        uint32_t value = 0;                      // Audible: the mask; Port: the index
        double speed = 1;                        // Speed
    };
    using Clock = std::chrono::steady_clock;
    // Seconds on `port`'s clock, or the steady clock's since the engine began.
    double Now(const OutputPort& port) const;
    // The owner's: the current port's.
    double Now() const { return Now(Port(current)); }
    const OutputPort& Port(int index) const { return *ports[static_cast<std::size_t>(index)]; }
    // The steady clock's time to wake the worker for what is due at `when` on `port`'s clock.
    Clock::time_point WakeTime(const OutputPort& port, double when) const;
    // After such a wake: waits out, awake, the little time left until `due`.
    void WaitOutEarlyWake(const OutputPort& port, double due) const;
    // How long before a message for a port without its own clock the worker wakes.
    static constexpr double kWakeEarly = 0.00025;
    int64_t Reference(double seconds) const { return static_cast<int64_t>(seconds * 1e7); }
    void Send(Command command);
    void Run();
    void Apply(Command& command);
    // Starts the loaded song at `tick`, clock time `now`, on both copies of the transport.
    void Begin(int64_t tick, double now, double leadIn = 0);

    std::vector<std::unique_ptr<OutputPort>> ports;
    int current = 0;
    Clock::time_point origin = Clock::now();
    // The queue between the two threads.
    std::mutex queueLock;
    std::condition_variable wake;
    std::vector<Command> queue;
    std::vector<Sequencer::Entry> retired;  // a schedule the worker let go of, for the owner to free
    std::condition_variable switched;  // the worker moved to workerPort
    int workerPort = 0;
    // The worker's.
    Sequencer sequencer;
    // The owner's: what it asked for and where playing stands by its copy of the transport.
    std::shared_ptr<const SongTimeline> song;
    // Kept until the next song, so the worker never lets go of a song's last reference.
    std::shared_ptr<const SongTimeline> previousSong;
    const CChart* loadedChart = nullptr;
    Transport transport;
    bool loaded = false;
    bool started = false;
    bool paused = false;
    int64_t startPoint = 0;
    int64_t songOffset = 0;
    int64_t segmentStart = 0;
    int64_t referenceStart = 0;
    int64_t referencePlayed = 0;
    int speedPercent = 100;
    bool metronome = false;
    uint32_t audible = 0x1FFFF;  // the play filter as last set, without the metronome
    std::thread worker;  // last, so it starts when everything it uses exists
};
