#include "SoundEngine.h"

#include <algorithm>

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

#include "io/Clamp.h"

SoundEngine::SoundEngine(std::vector<std::unique_ptr<OutputPort>> newPorts)
    : ports(std::move(newPorts)), sequencer(*ports.front()), worker([this] { Run(); }) {
    ports.front()->Open();
}

SoundEngine::~SoundEngine() {
    {
        std::lock_guard guard(lock);
        sequencer.Stop();
        quit = true;
    }
    wake.notify_all();
    worker.join();
    for (auto& port : ports) port->Close();
}

namespace {

// Notes go out on time even on a busy machine when the system lets the engine's thread run
// before ordinary work (real-time scheduling, as audio programs ask for); where it does not,
// the thread keeps its normal priority.
void RaisePriority() {
#ifdef __linux__
    sched_param param{};
    param.sched_priority = std::max(1, sched_get_priority_min(SCHED_FIFO) + 10);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
#endif
}

}  // namespace

double SoundEngine::Now() const {
    return std::chrono::duration<double>(Clock::now() - origin).count();
}

void SoundEngine::Run() {
    RaisePriority();
    std::unique_lock guard(lock);
    while (!quit) {
        const double next = sequencer.Pump(Now());
        if (next == Sequencer::kNever) {
            wake.wait(guard);
        } else {
            const auto when =
                origin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(next));
            wake.wait_until(guard, when);
        }
    }
}

std::string SoundEngine::PortName(int index) const {
    if (index < 0 || index >= PortCount()) return {};
    return ports[static_cast<std::size_t>(index)]->Name();
}

Status SoundEngine::ChangePort(int index) {
    if (index < 0 || index >= PortCount()) return Status::Fail(ErrorCode::PortUnusable, std::to_string(index));
    if (index == current) return {};
    StopSegment();
    std::lock_guard guard(lock);
    OutputPort& next = *ports[static_cast<std::size_t>(index)];
    if (Status status = next.Open(); !status) return status;
    ports[static_cast<std::size_t>(current)]->Close();
    current = index;
    sequencer.SetPort(next);
    return {};
}

std::string SoundEngine::CurrentPortProblem() const {
    return ports[static_cast<std::size_t>(current)]->Problem();
}

void SoundEngine::Wake() {
    wake.notify_all();
}

void SoundEngine::LoadSong(SongTimeline song, const CChart& chart) {
    StopSegment();
    std::lock_guard guard(lock);
    sequencer.Load(std::move(song), chart);  // sends the General MIDI reset
    loaded = true;
}

void SoundEngine::SetStartPoint(int64_t tick) {
    startPoint = std::max<int64_t>(tick, 0);
}

void SoundEngine::StartSegment() {
    if (!loaded) return;
    if (paused) {
        ResumeSegment();
        return;
    }
    if (started) return;
    // Made before the lock is taken, so the engine's thread never waits on it.
    std::vector<Sequencer::Entry> built = sequencer.Build(startPoint);
    {
        std::lock_guard guard(lock);
        const double now = Now();
        sequencer.Start(built, startPoint, now);
        started = true;
        songOffset = startPoint;
        segmentStart = startPoint;  // music time is the song position itself
        referenceStart = Reference(now);
    }
    Wake();
}

void SoundEngine::PauseToggle() {
    if (!started) return;
    if (paused) {
        ResumeSegment();
        return;
    }
    std::lock_guard guard(lock);
    const double now = Now();
    const int64_t music = sequencer.Position(now);
    sequencer.Pause(now);
    songOffset = SaturatingAdd(songOffset, SaturatingAdd(music, -segmentStart));
    referencePlayed += Reference(now) - referenceStart;
    startPoint = songOffset;
    // The music time stands still at the pause, so the position stays where it stopped.
    segmentStart = music;
    paused = true;
}

void SoundEngine::ResumeSegment() {
    if (!paused) return;
    // Continuing where it stopped keeps the notes' order exactly; a start point moved
    // meanwhile starts afresh there, with what is in force there.
    const bool afresh = startPoint != sequencer.PausedTick();
    std::vector<Sequencer::Entry> built = afresh ? sequencer.Build(startPoint) : std::vector<Sequencer::Entry>();
    {
        std::lock_guard guard(lock);
        const double now = Now();
        if (afresh)
            sequencer.Start(built, startPoint, now);
        else
            sequencer.Resume(now);
        songOffset = startPoint;
        segmentStart = startPoint;
        referenceStart = Reference(now);
        paused = false;
    }
    Wake();
}

void SoundEngine::StopSegment() {
    if (!started) return;
    std::lock_guard guard(lock);
    sequencer.Stop();
    songOffset = segmentStart = referenceStart = referencePlayed = 0;
    startPoint = 0;
    started = paused = false;
}

void SoundEngine::PlayNote(const CNote& note) {
    {
        std::lock_guard guard(lock);
        sequencer.PlayNote(
            TimedMessage::Make(0, static_cast<uint8_t>(0x90 | (note.status & 0x0F)), note.key, note.velocity),
            note.length, Now());
    }
    Wake();
}

void SoundEngine::SendGmReset() {
    std::lock_guard guard(lock);
    sequencer.SendGmReset();
}

SoundEngine::Time SoundEngine::CurrentTime() const {
    std::lock_guard guard(lock);
    const double now = Now();
    return {Reference(now), sequencer.Position(now)};
}

int64_t SoundEngine::Position() const {
    const Time time = CurrentTime();
    return SaturatingAdd(time.music, SaturatingAdd(songOffset, -segmentStart));
}

void SoundEngine::SetAudible(uint32_t mask) {
    std::lock_guard guard(lock);
    sequencer.SetAudible(mask);
}
