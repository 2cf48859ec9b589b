#include "TempoMap.h"

#include <algorithm>
#include <utility>

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
    std::vector<TimeBase::TempoChange> changes;
    changes.reserve(entries.size());
    for (const Entry& e : entries) changes.push_back({ChartTicksOf(e.tick, resolution), e.tempo});
    chartTime = TimeBase(std::move(changes), kTicksPerQuarter);
    built = true;
}

void CTempoMap::ReleaseTempoMap() {
    entries.clear();
    meters.clear();
    chartTime = TimeBase();
    built = false;
}

uint32_t CTempoMap::TempoAt(uint32_t tick) const {
    uint32_t tempo = kDefaultTempo;
    for (const Entry& e : entries) {
        if (e.tick > tick) break;
        tempo = e.tempo;
    }
    return tempo;
}

uint32_t CTempoMap::StartTempo(int32_t position) const {
    return chartTime.TempoAt(position);
}
