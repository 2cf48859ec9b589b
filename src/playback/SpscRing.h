#pragma once
// SpscRing: a fixed ring of values from one producer thread to one consumer thread without a
// lock or an allocation: the engine's worker hands messages to the audio callback through it.
// Push is the producer's, Pop the consumer's; each side may call only its own.

#include <array>
#include <atomic>
#include <cstddef>

template <typename T, std::size_t N>
class SpscRing {
    static_assert(N > 0 && (N & (N - 1)) == 0, "the capacity is a power of two");

  public:
    // False, leaving the ring as it was, when it is full.
    bool Push(const T& item) {
        const std::size_t w = write.load(std::memory_order_relaxed);
        if (w - read.load(std::memory_order_acquire) == N) return false;
        cells[w & (N - 1)] = item;
        write.store(w + 1, std::memory_order_release);
        return true;
    }

    // False when it is empty.
    bool Pop(T& item) {
        const std::size_t r = read.load(std::memory_order_relaxed);
        if (r == write.load(std::memory_order_acquire)) return false;
        item = cells[r & (N - 1)];
        read.store(r + 1, std::memory_order_release);
        return true;
    }

    static constexpr std::size_t Capacity() { return N; }

  private:
    std::array<T, N> cells{};
    // Apart, so the two sides do not share a cache line.
    alignas(64) std::atomic<std::size_t> write{0};
    alignas(64) std::atomic<std::size_t> read{0};
};
