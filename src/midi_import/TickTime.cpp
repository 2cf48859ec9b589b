#include "TickTime.h"

#include <limits>

#include "EventData.h"
#include "EventText.h"
#include "chart/TempoMap.h"
#include "io/Clamp.h"
#include "smf/SmfLayout.h"

uint32_t TempoOf(const CNote& event) {
    if (!IsExtendedEvent(event) || !event.data || event.data->kind != CEventData::kMeta ||
        event.data->meta.type != 0x51)
        return 0;
    return event.data->meta.tempoUs;
}

void ConvertTicksToMs(std::vector<CNote>& events, int resolution) {
    if (resolution <= 0) resolution = kDefaultTicksPerQuarter;
    double tempo = kDefaultTempo;
    int64_t baseTick = 0;
    int64_t baseMs = 0;
    for (CNote& event : events) {
        const double rate = tempo / resolution * 0.001;
        const double segment = static_cast<double>(event.time - baseTick) * rate;
        const auto rounded = static_cast<int64_t>(segment + 0.5);
        const int64_t ms = baseMs + rounded;
        event.timeMs = ClampToI32(ms);
        if (IsExtendedEvent(event) && event.data && event.data->kind == CEventData::kMeta &&
            event.data->meta.type == 0x51) {
            baseMs += rounded;
            baseTick = event.time;
            tempo = event.data->meta.tempoUs;
        }
    }
}
