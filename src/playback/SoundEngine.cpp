#include "SoundEngine.h"

#include <algorithm>

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

#include "io/Clamp.h"

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

SoundEngine::SoundEngine(std::vector<std::unique_ptr<OutputPort>> newPorts)
    : ports(std::move(newPorts)), sequencer(*ports.front()) {
    ports.front()->Open();
    worker = std::thread([this] { Run(); });
}

SoundEngine::~SoundEngine() {
    Send({Command::Kind::Quit});
    worker.join();
    for (auto& port : ports) port->Close();
}

double SoundEngine::Now(const OutputPort& port) const {
    if (const std::optional<double> clock = port.ClockNow()) return *clock;
    return std::chrono::duration<double>(Clock::now() - origin).count();
}

SoundEngine::Clock::time_point SoundEngine::WakeTime(const OutputPort& port, double when) const {
    // An audio clock and the steady clock drift apart a little (the sound card's crystal), so
    // a long wait is cut short and the worker looks again.
    constexpr double kLongestAudioWait = 0.005;
    double wait = when - Now(port);
    if (port.ClockNow())
        wait = std::min(wait, kLongestAudioWait);
    else
        wait -= kWakeEarly;
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(std::max(wait, 0.0)));
}

void SoundEngine::Send(Command command) {
    std::vector<Sequencer::Entry> spent;
    {
        std::lock_guard guard(queueLock);
        queue.push_back(std::move(command));
        spent.swap(retired);
    }
    wake.notify_all();
}

void SoundEngine::Run() {
    RaisePriority();
    std::vector<Command> taken;
    double next = Sequencer::kNever;
    for (;;) {
        {
            std::unique_lock guard(queueLock);
            if (queue.empty()) {
                if (next == Sequencer::kNever)
                    wake.wait(guard);
                else
                    wake.wait_until(guard, WakeTime(Port(workerPort), next));
            }
            taken.swap(queue);
        }
        // Commands in the order they were given; the queue's lock is free while they run.
        for (Command& command : taken) {
            if (command.kind == Command::Kind::Quit) {
                sequencer.Stop();
                return;
            }
            Apply(command);
        }
        const bool commanded = !taken.empty();
        taken.clear();
        const OutputPort& port = Port(workerPort);
        if (!commanded) WaitOutEarlyWake(port, next);
        next = sequencer.Pump(Now(port));
    }
}

void SoundEngine::WaitOutEarlyWake(const OutputPort& port, double due) const {
    // The worker sleeps until just before a message is due and waits out the rest awake, so
    // the system's delay in waking it does not make a note on a MIDI device late. A port
    // with its own clock takes messages ahead and needs none of this.
    if (port.ClockNow() || due == Sequencer::kNever) return;
    for (double now = Now(port); now < due && now > due - 2 * kWakeEarly; now = Now(port)) std::this_thread::yield();
}

void SoundEngine::Apply(Command& c) {
    switch (c.kind) {
        case Command::Kind::Load: sequencer.Load(std::move(c.song), *c.chart); break;
        case Command::Kind::Start: {
            sequencer.Start(c.schedule, c.tick, c.now);
            // The previous schedule, now in the command, goes back to the owner to free.
            std::lock_guard guard(queueLock);
            retired.swap(c.schedule);
            break;
        }
        case Command::Kind::Pause: sequencer.Pause(c.now); break;
        case Command::Kind::Resume: sequencer.Resume(c.now); break;
        case Command::Kind::Stop: sequencer.Stop(); break;
        case Command::Kind::Port: {
            sequencer.SetPort(*ports[c.value]);
            {
                std::lock_guard guard(queueLock);
                workerPort = static_cast<int>(c.value);
            }
            switched.notify_all();
            break;
        }
        case Command::Kind::Note: sequencer.PlayNote(c.message, c.tick, c.now); break;
        case Command::Kind::Audible: sequencer.SetAudible(c.value); break;
        case Command::Kind::Reset: sequencer.SendGmReset(); break;
        case Command::Kind::Speed: sequencer.SetSpeed(c.speed, c.now); break;
        case Command::Kind::Quit: break;
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
    // The new port is not the worker's yet, so it opens here. The old one is closed once the
    // worker has moved off it (a rare wait, only for the Options dialog's choice).
    if (Status status = ports[static_cast<std::size_t>(index)]->Open(); !status) return status;
    Command command{Command::Kind::Port};
    command.value = static_cast<uint32_t>(index);
    Send(std::move(command));
    {
        std::unique_lock guard(queueLock);
        switched.wait(guard, [&] { return workerPort == index; });
    }
    ports[static_cast<std::size_t>(current)]->Close();
    current = index;
    return {};
}

std::string SoundEngine::CurrentPortProblem() const {
    return Port(current).Problem();
}

void SoundEngine::LoadSong(SongTimeline newSong, const CChart& chart) {
    StopSegment();
    previousSong = std::move(song);
    song = std::make_shared<SongTimeline>(std::move(newSong));
    Command command{Command::Kind::Load};
    command.song = song;
    command.chart = &chart;
    Send(std::move(command));  // the worker sends the General MIDI reset
    loadedChart = &chart;
    loaded = true;
}

void SoundEngine::SetStartPoint(int64_t tick) {
    startPoint = std::max<int64_t>(tick, 0);
}

void SoundEngine::Begin(int64_t tick, double now, double leadIn) {
    // A port that plays on its own clock is handed the first messages ahead of their time too,
    // so playing starts that far after now and even the first note is on its sample.
    now += Port(current).Lookahead() + leadIn;
    Command command{Command::Kind::Start};
    command.now = now;
    command.tick = tick;
    command.schedule = Sequencer::Build(*loadedChart, *song, tick);
    transport.Start(song->Time(), tick, now);
    Send(std::move(command));
}

void SoundEngine::StartSegment(double leadIn) {
    if (!loaded) return;
    if (paused) {
        ResumeSegment();
        return;
    }
    if (started) return;
    const double now = Now();
    Begin(startPoint, now, leadIn);
    started = true;
    songOffset = startPoint;
    segmentStart = startPoint;  // music time is the song position itself
    referenceStart = Reference(now);
}

void SoundEngine::PauseToggle() {
    if (!started) return;
    if (paused) {
        ResumeSegment();
        return;
    }
    // It stops where it is heard: what is drawn then is where playing goes on.
    const double now = Now() - Port(current).Latency();
    const int64_t music = transport.Position(now);
    transport.Pause(now);
    Command command{Command::Kind::Pause};
    command.now = now;
    Send(std::move(command));
    songOffset = SaturatingAdd(songOffset, SaturatingAdd(music, -segmentStart));
    referencePlayed += Reference(now) - referenceStart;
    startPoint = songOffset;
    // The music time stands still at the pause, so the position stays where it stopped.
    segmentStart = music;
    paused = true;
}

void SoundEngine::ResumeSegment() {
    if (!paused) return;
    const double now = Now();
    // Continuing where it stopped keeps the notes' order exactly; a start point moved
    // meanwhile starts afresh there, with what is in force there.
    if (startPoint != transport.PausedTick()) {
        Begin(startPoint, now);
    } else {
        const double start = now + Port(current).Lookahead();
        transport.Resume(song->Time(), start);
        Command command{Command::Kind::Resume};
        command.now = start;
        Send(std::move(command));
    }
    songOffset = startPoint;
    segmentStart = startPoint;
    referenceStart = Reference(now);
    paused = false;
}

void SoundEngine::StopSegment() {
    if (!started) return;
    transport.Stop();
    Send({Command::Kind::Stop});
    songOffset = segmentStart = referenceStart = referencePlayed = 0;
    startPoint = 0;
    started = paused = false;
}

void SoundEngine::PlayNote(const CNote& note) {
    Command command{Command::Kind::Note};
    command.now = Now();
    command.message =
        TimedMessage::Make(0, static_cast<uint8_t>(0x90 | (note.status & 0x0F)), note.key, note.velocity);
    command.tick = note.length;
    Send(std::move(command));
}

void SoundEngine::SendGmReset() {
    Send({Command::Kind::Reset});
}

SoundEngine::Time SoundEngine::CurrentTime() const {
    const double now = Now();
    return {Reference(now), transport.Position(now - Port(current).Latency())};
}

double SoundEngine::HeardSongMs(double secondsAgo) const {
    return transport.SongMs(Now() - Port(current).Latency() - secondsAgo);
}

int64_t SoundEngine::Position() const {
    const Time time = CurrentTime();
    return SaturatingAdd(time.music, SaturatingAdd(songOffset, -segmentStart));
}

void SoundEngine::SetSpeed(int percent) {
    speedPercent = std::clamp(percent, 25, 200);
    Command command{Command::Kind::Speed};
    command.now = Now();
    command.speed = speedPercent / 100.0;
    transport.SetSpeed(command.speed, command.now);
    Send(std::move(command));
}

void SoundEngine::SetMetronome(bool on) {
    metronome = on;
    SetAudible(audible);
}

void SoundEngine::SetAudible(uint32_t mask) {
    audible = mask & ~Sequencer::kMetronome;
    Command command{Command::Kind::Audible};
    command.value = audible | (metronome ? Sequencer::kMetronome : 0);
    Send(std::move(command));
}
