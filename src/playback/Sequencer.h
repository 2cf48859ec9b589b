#pragma once
// Sequencer: plays a chart's play schedule against real time. It is driven by Pump(now),
// which hands the port every message due by `now` plus the port's lookahead (seconds on the
// port's clock, or any steady clock) and says when to pump again, so a thread can sleep until
// then and a test can step a manual clock.
// Not thread-safe: the sound engine's worker alone uses it. Build is a plain function of a
// chart and a song, so schedules are made on another thread and handed over whole.
//
// Music time follows the song's tempo from the start point (MusicClock). Pausing silences the
// notes that sound, drops what the port holds for later and remembers the music time;
// resuming continues from exactly there, with the messages handed over early sent again.
// Starting at another point sends again what is in force there (programs, controllers,
// bends, tempo). Note-ons of tracks muted at their time are not sent; a note-off is sent only
// for a note-on that was.

#include <array>
#include <bitset>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "Transport.h"
#include "OutputPort.h"
#include "PlaySchedule.h"
#include "SongTimeline.h"
#include "chart/Chart.h"

class Sequencer {
  public:
    static constexpr double kNever = std::numeric_limits<double>::infinity();

    explicit Sequencer(OutputPort& port) : port(&port) {}

    // The song and the chart to play; stops anything playing and sends the General MIDI
    // reset. The chart's tracks are read when playing starts (the player track as it is then).
    void Load(std::shared_ptr<const SongTimeline> song, const CChart& chart);
    void Load(SongTimeline song, const CChart& chart) { Load(std::make_shared<const SongTimeline>(std::move(song)), chart); }
    // One message of the schedule.
    struct Entry {
        TimedMessage message;
        int track = -1;  // the chart track (16: the player's) a note belongs to; -1: the song's
        bool chosen = false;  // a track's note that is one of the player's notes
    };
    // The schedule of playing `chart` with `song` from music time `tick`, in time order, with
    // room for notes played by hand.
    static std::vector<Entry> Build(const CChart& chart, const SongTimeline& song, int64_t tick);
    // Starts playing at music time `tick` at clock time `now`, with the song's tempo there,
    // from `built` (Build's for that tick); `built` is given the previous schedule back, so the
    // caller lets it go outside the engine's lock.
    void Start(std::vector<Entry>& built, int64_t tick, double now);
    // The same, building the schedule on the spot.
    void Start(int64_t tick, double now) {
        std::vector<Entry> built = chart ? Build(*chart, *song, tick) : std::vector<Entry>();
        Start(built, tick, now);
    }
    void Pause(double now);
    void Resume(double now);
    // The playback speed (1: as written) from clock time `now` on, playing or not. Messages
    // already handed ahead to a port keep their times (at most its lookahead).
    void SetSpeed(double speed, double now) { transport.SetSpeed(speed, now); }
    // Silences everything and forgets the position.
    void Stop();

    // Hands the port what is due by `now` + its lookahead; returns the clock time to pump
    // again (kNever when nothing is left or playback is paused or stopped).
    double Pump(double now);
    // How soon to try again when the port's queue is full.
    static constexpr double kRetrySeconds = 0.001;

    // Music time at clock time `now` (the paused position while paused).
    int64_t Position(double now) const { return transport.Position(now); }
    bool Playing() const { return transport.Playing(); }
    bool Paused() const { return transport.Paused(); }

    // Which tracks sound: bit t for track t (0..15), bit 16 for the player's notes, bit 17 the
    // metronome, and with
    // kChosenSilent the tracks' notes that are the player's own are left out (test-play sounds
    // each when the player hits it).
    void SetAudible(uint32_t mask) { audible = mask; }
    static constexpr uint32_t kChosenSilent = 1u << 18;
    // Bit 17: the metronome's clicks (off unless asked for).
    static constexpr uint32_t kMetronome = 1u << kMetronomeTrack;
    static uint32_t AudibleMask(const CChart& chart);

    // Sends to `newPort` from now on (the notes that sound are silenced on the old one).
    void SetPort(OutputPort& newPort);
    // Sends a note-on now and its note-off `length` chart ticks later in music time (at once
    // when not playing). Up to kHandNotes notes by hand sound at once; beyond that the oldest
    // ends early.
    void PlayNote(const TimedMessage& noteOn, int64_t length, double now);
    // Sends the General MIDI reset now.
    void SendGmReset();

    // The music time where playing stopped, while paused.
    int64_t PausedTick() const { return transport.PausedTick(); }

    static constexpr std::size_t kHandNotes = 64;

  private:
    // A note played by hand whose end is still to come.
    struct HandNoteEnd {
        int64_t tick;
        TimedMessage noteOff;
    };
    // Sends the ends of hand-played notes due by music time `tick` (all of them: INT64_MAX).
    void EndHandNotes(int64_t tick);
    // Hands one message over at clock time `due`; false when the port cannot take it yet.
    bool Play(const Entry& entry, double due);
    void SilenceSounding();

    OutputPort* port;
    std::shared_ptr<const SongTimeline> song = std::make_shared<const SongTimeline>();
    const CChart* chart = nullptr;
    std::vector<Entry> schedule;
    std::size_t next = 0;
    Transport transport;
    uint32_t audible = 0x1FFFF;
    // The notes on, a bit a key for each channel: fixed, so sending never allocates.
    std::array<std::bitset<128>, 16> sounding{};
    std::array<HandNoteEnd, kHandNotes> handEnds{};
    std::size_t handCount = 0;
};
