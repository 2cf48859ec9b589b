#include "SplitRenderer.h"

#include <fluidsynth.h>

#include <algorithm>

#include "SynthMessages.h"

namespace {

// Earliest frame first; within a frame, the order of arrival.
bool Later(const auto& a, const auto& b) {
    return a.event.frame != b.event.frame ? a.event.frame > b.event.frame : a.order > b.order;
}

// Whether generation `g` is older than `newest` (the counter may wrap).
bool Older(uint32_t g, uint32_t newest) {
    return static_cast<int32_t>(g - newest) < 0;
}

}  // namespace

SplitRenderer::SplitRenderer(fluid_synth_t* synth) : synth(synth) {
    pending.reserve(kQueueSize);
}

void SplitRenderer::TakeQueued() {
    const uint32_t newest = generation.load(std::memory_order_acquire);
    if (newest != current) {
        current = newest;
        std::erase_if(pending, [&](const Pending& p) { return Older(p.event.generation, newest); });
        std::make_heap(pending.begin(), pending.end(), Later<Pending, Pending>);
    }
    SynthEvent event;
    while (pending.size() < kQueueSize && queue.Pop(event)) {
        if (Older(event.generation, newest)) continue;
        pending.push_back({event, taken++});
        std::push_heap(pending.begin(), pending.end(), Later<Pending, Pending>);
    }
}

void SplitRenderer::Render(float* left, float* right, int frames) {
    TakeQueued();
    int done = 0;
    while (done < frames) {
        // Everything due by now goes to the synthesizer, then the audio up to the next one.
        while (!pending.empty() && pending.front().event.frame <= rendered) {
            std::pop_heap(pending.begin(), pending.end(), Later<Pending, Pending>);
            const SynthEvent& e = pending.back().event;
            SendToSynth(synth, e.status, e.data1, e.data2, e.sysex.data(), e.sysexSize);
            pending.pop_back();
        }
        int piece = frames - done;
        if (!pending.empty() && pending.front().event.frame - rendered < piece)
            piece = static_cast<int>(pending.front().event.frame - rendered);
        fluid_synth_write_float(synth, piece, left + done, 0, 1, right + done, 0, 1);
        done += piece;
        rendered += piece;
    }
}
