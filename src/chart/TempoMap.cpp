#include "TempoMap.h"

#include <algorithm>

#include "io/Clamp.h"
#include "smf/LibTrack.h"

void CTempoMap::BuildTempoMap(const CLibTrack& tempoTrack, uint16_t resolution) {
    ReleaseTempoMap();
    uint64_t tick = 0;
    entries.reserve(tempoTrack.Count());
    for (uint32_t i = 0; i < tempoTrack.Count(); ++i) {
        const LibEvent event = tempoTrack.Event(i);
        tick += event.delta;
        entries.push_back({ClampToU32(tick), LibEventValue(event)});
    }
    for (const KeptMeta& meta : tempoTrack.metas) {
        // A time signature: numerator, the denominator as a power of two, then clocks.
        if (meta.type != 0x58 || meta.data.size() < 2 || meta.data[0] == 0 || meta.data[1] > 6) continue;
        meters.push_back({ClampToU32(meta.time), meta.data[0], static_cast<uint8_t>(1u << meta.data[1])});
    }
    songResolution = resolution;
    built = true;
}

void CTempoMap::ReleaseTempoMap() {
    entries.clear();
    meters.clear();
    built = false;
}

uint32_t CTempoMap::TempoAt(uint32_t tick) const {
    if (entries.empty()) return kDefaultTempo;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].tick > tick) return entries[i == 0 ? 0 : i - 1].tempo;
    }
    return entries.back().tempo;
}

uint32_t CTempoMap::StartTempo(int32_t position) const {
    if (entries.empty()) return kDefaultTempo;
    const int64_t songTick = int64_t{position} * songResolution / 768;
    return TempoAt(static_cast<uint32_t>(std::clamp<int64_t>(songTick, 0, UINT32_MAX)));
}
