#include "SoundEngine.h"

#include <algorithm>

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

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

bool SoundEngine::ChangePort(int index) {
    if (index < 0 || index >= PortCount()) return false;
    if (index == current) return true;
    std::lock_guard guard(lock);
    sequencer.Stop();
    OutputPort& next = *ports[static_cast<std::size_t>(index)];
    if (!next.Open()) return false;
    ports[static_cast<std::size_t>(current)]->Close();
    current = index;
    sequencer.SetPort(next);
    return true;
}

void SoundEngine::Load(SongTimeline song, const CChart& chart) {
    std::lock_guard guard(lock);
    sequencer.Load(std::move(song), chart);
}

void SoundEngine::Play(int64_t tick) {
    {
        std::lock_guard guard(lock);
        sequencer.Start(tick, Now());
    }
    wake.notify_all();
}

void SoundEngine::Pause() {
    std::lock_guard guard(lock);
    sequencer.Pause(Now());
}

void SoundEngine::Resume() {
    {
        std::lock_guard guard(lock);
        sequencer.Resume(Now());
    }
    wake.notify_all();
}

void SoundEngine::Stop() {
    std::lock_guard guard(lock);
    sequencer.Stop();
}

bool SoundEngine::Playing() const {
    std::lock_guard guard(lock);
    return sequencer.Playing() && !sequencer.Paused();
}

bool SoundEngine::Paused() const {
    std::lock_guard guard(lock);
    return sequencer.Paused();
}

int64_t SoundEngine::Position() const {
    std::lock_guard guard(lock);
    return sequencer.Position(Now());
}

void SoundEngine::SetAudible(uint32_t mask) {
    std::lock_guard guard(lock);
    sequencer.SetAudible(mask);
}
