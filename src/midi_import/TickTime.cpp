#include "TickTime.h"

#include <utility>

#include "EventData.h"
#include "EventText.h"
#include "chart/TimeBase.h"
#include "io/Clamp.h"

namespace {

bool IsTempoEvent(const CNote& event) {
    return IsExtendedEvent(event) && event.data && event.data->kind == CEventData::kMeta &&
           event.data->meta.type == 0x51;
}

}  // namespace

uint32_t TempoOf(const CNote& event) {
    return IsTempoEvent(event) ? event.data->meta.tempoUs : 0;
}

void ConvertTicksToMs(std::vector<CNote>& events, int resolution) {
    std::vector<TimeBase::TempoChange> changes;
    for (const CNote& event : events)
        if (IsTempoEvent(event)) changes.push_back({event.time, TempoOf(event)});
    const TimeBase time(std::move(changes), resolution);
    for (CNote& event : events) event.timeMs = ClampToI32(time.RoundedMsAt(event.time));
}
