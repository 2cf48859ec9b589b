#include "SplitRenderer.h"

#include <fluidsynth.h>

#include <cmath>

#include "SynthMessages.h"

SplitRenderer::SplitRenderer(fluid_synth_t* synth, int sampleRate, const std::vector<ScheduledMessage>& schedule,
                             const MusicClock& clock)
    : synth(synth), sampleRate(sampleRate), schedule(schedule), clock(clock) {}

int64_t SplitRenderer::DueFrame(const ScheduledMessage& message) const {
    return static_cast<int64_t>(std::ceil(clock.SecondsUntil(message.message.tick) * sampleRate - 1e-6));
}

void SplitRenderer::Render(int16_t* out, int frames) {
    int done = 0;
    while (done < frames) {
        // Everything due by now goes out, then the audio up to the next message's sample.
        while (next < schedule.size() && DueFrame(schedule[next]) <= rendered)
            SendToSynth(synth, schedule[next++].message);
        int piece = frames - done;
        if (next < schedule.size()) {
            const int64_t until = DueFrame(schedule[next]) - rendered;
            if (until < piece) piece = static_cast<int>(until);
        }
        fluid_synth_write_s16(synth, piece, out + 2 * done, 0, 2, out + 2 * done, 1, 2);
        done += piece;
        rendered += piece;
    }
}
