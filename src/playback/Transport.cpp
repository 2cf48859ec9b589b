#include "Transport.h"

void Transport::Start(const TimeBase& time, int64_t tick, double now) {
    clock.emplace(time, tick, speed);
    startTime = now;
    pausedTick = tick;
    playing = true;
    paused = false;
}

void Transport::Pause(double now) {
    if (!playing || paused) return;
    pausedTick = Position(now);
    paused = true;
}

void Transport::Resume(const TimeBase& time, double now) {
    if (!playing || !paused) return;
    clock.emplace(time, pausedTick, speed);
    startTime = now;
    paused = false;
}

void Transport::SetSpeed(double newSpeed, double now) {
    speed = newSpeed;
    if (!clock) return;
    if (playing && !paused && now > startTime) {
        clock = clock->Rescaled(now - startTime, speed);
        startTime = now;
    } else {
        // Not yet started (a lead-in) or paused: the start point stays, the pace changes.
        clock = clock->Rescaled(0, speed);
    }
}

void Transport::Stop() {
    playing = paused = false;
    pausedTick = 0;
}

double Transport::SongMs(double now) const {
    if (!clock) return 0;
    if (!playing || paused) return clock->SongMsAt(pausedTick);
    return clock->SongMsAfter(now - startTime);
}

int64_t Transport::Position(double now) const {
    if (!playing || paused || !clock || now <= startTime) return pausedTick;
    return clock->TickAfter(now - startTime);
}
