#pragma once
// SplitRenderer: the audio side of the software synthesizer. Messages arrive ahead of their
// time, each with the frame it is due at, through a lock-free queue; each block is rendered in
// pieces split at those frames, so a message takes effect on its own sample rather than at the
// start of the block that holds it (the synthesizer itself starts voices on its own 64-sample
// steps, and that is all the error there is). Blocks are whatever size the caller renders: a
// sound card's period in the audio callback, or the offline render's.
//
// Threads: Queue is filled by one producer (the engine's worker, or the offline render's
// loop); Render runs on one consumer thread (the audio callback) and neither allocates, locks
// nor logs.

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <vector>

#include "SpscRing.h"

struct _fluid_synth_t;

// One message for the synthesizer at its frame. A system exclusive message too long for
// `sysex` never travels this way (the port plays it at once).
struct SynthEvent {
    static constexpr int64_t kAtOnce = std::numeric_limits<int64_t>::min();
    static constexpr std::size_t kSysExBytes = 24;

    int64_t frame = kAtOnce;  // frames since the synthesizer's first
    uint32_t generation = 0;  // events older than the newest generation are dropped
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint8_t sysexSize = 0;
    std::array<uint8_t, kSysExBytes> sysex{};
};

class SplitRenderer {
  public:
    static constexpr std::size_t kQueueSize = 4096;

    // `synth` outlives the renderer.
    explicit SplitRenderer(_fluid_synth_t* synth);

    // The producer's: hands over `event`; false when the queue is full.
    bool Queue(const SynthEvent& event) { return queue.Push(event); }
    // The producer's: events handed over so far and not yet played are dropped (a pause, a
    // stop, a new start); events handed over from now on carry the new generation.
    void DropPending() { generation.fetch_add(1, std::memory_order_release); }
    uint32_t Generation() const { return generation.load(std::memory_order_relaxed); }

    // The consumer's: renders the next `frames` frames into `left` and `right`.
    void Render(float* left, float* right, int frames);

  private:
    struct Pending {
        SynthEvent event;
        uint64_t order;  // keeps events of one frame in the order they came
    };
    // Moves queued events into `pending`, dropping the ones of older generations.
    void TakeQueued();

    _fluid_synth_t* synth;
    SpscRing<SynthEvent, kQueueSize> queue;
    std::atomic<uint32_t> generation{0};
    // The consumer's: a heap with the earliest frame on top, its room reserved at the start.
    std::vector<Pending> pending;
    uint64_t taken = 0;
    uint32_t current = 0;  // the generation last seen
    int64_t rendered = 0;
};
