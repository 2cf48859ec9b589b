#include "LibTrack.h"

#include <algorithm>

#include "LibSmf.h"

CLibTrack::CLibTrack() : events(kGrowBy) {}

CLibTrack::CLibTrack(const CLibTrack& other)
    : cursor(other.cursor),
      sysex(other.sysex),
      metas(other.metas),
      endTime(other.endTime),
      name(other.name),
      events(other.events),
      count(other.count) {}

CLibTrack::CLibTrack(CLibTrack&& other) noexcept
    : cursor(other.cursor),
      sysex(std::move(other.sysex)),
      metas(std::move(other.metas)),
      endTime(other.endTime),
      name(std::move(other.name)),
      events(std::move(other.events)),
      count(other.count) {
    other.events.assign(kGrowBy, LibEvent{});
    other.count = 0;
}

CLibTrack& CLibTrack::operator=(const CLibTrack& other) {
    if (this != &other) *this = CLibTrack(other);
    return *this;
}

CLibTrack& CLibTrack::operator=(CLibTrack&& other) noexcept {
    if (this == &other) return *this;
    cursor = other.cursor;
    sysex = std::move(other.sysex);
    metas = std::move(other.metas);
    endTime = other.endTime;
    name = std::move(other.name);
    events = std::move(other.events);
    count = other.count;
    other.events.assign(kGrowBy, LibEvent{});
    other.count = 0;
    return *this;
}

CLibTrack::~CLibTrack() {
    if (file) file->RemoveTrack(*this);
}

LibEvent CLibTrack::Event(uint32_t i) const {
    return i < events.size() ? events[i] : LibEvent{};
}

void CLibTrack::SetEvent(uint32_t i, const LibEvent& event) {
    if (i >= events.size()) return;
    events[i] = event;
    count = std::max(count, i + 1);
}

void CLibTrack::Insert(const LibEvent& event, uint32_t index) {
    if (count == events.size()) events.resize(events.size() + kGrowBy);
    index = std::min(index, count);
    std::copy_backward(events.begin() + index, events.begin() + count, events.begin() + count + 1);
    events[index] = event;
    ++count;
}

void CLibTrack::Delete(uint32_t i) {
    if (i >= count) return;
    std::copy(events.begin() + i + 1, events.begin() + count, events.begin() + i);
    --count;
    events[count] = LibEvent{};
}

void CLibTrack::DeleteKeepingTime(uint32_t i) {
    if (i >= count) return;
    const uint32_t delta = events[i].delta;
    Delete(i);
    AddTime(i, delta);
}

void CLibTrack::AddTime(uint32_t i, int64_t delta) {
    if (i >= count) return;
    const int64_t sum = static_cast<int64_t>(events[i].delta) + delta;
    events[i].delta = static_cast<uint32_t>(std::clamp<int64_t>(sum, 0, UINT32_MAX));
}

uint32_t CLibTrack::Time(uint32_t i) const {
    return i < count ? events[i].delta : 0;
}

uint64_t CLibTrack::AbsoluteTime(uint32_t i) const {
    if (i >= count) return 0;
    uint64_t sum = 0;
    for (uint32_t k = 0; k <= i; ++k) sum += events[k].delta;
    return sum;
}

void CLibTrack::Clear() {
    events.assign(kGrowBy, LibEvent{});
    count = 0;
    cursor = 0;
    sysex.clear();
    metas.clear();
    name.clear();
    endTime = 0;
}

void CLibTrack::AppendSysEx(uint32_t delta, SysExPayload payload) {
    const auto index = static_cast<uint32_t>(sysex.size());
    if (index > 0xFFFFFF) return;  // the event's three data bytes cannot name more payloads
    sysex.push_back(std::move(payload));
    Insert({delta, kSysExStatus, static_cast<uint8_t>(index >> 16), static_cast<uint8_t>(index >> 8),
            static_cast<uint8_t>(index)});
}

const SysExPayload* CLibTrack::PayloadOf(const LibEvent& event) const {
    const uint32_t index = LibEventValue(event);
    return event.status == kSysExStatus && index < sysex.size() ? &sysex[index] : nullptr;
}

void CLibTrack::ReserveFree(uint32_t free) {
    if (events.size() - count < free) events.resize(std::max<std::size_t>(count + free, events.size() * 2));
}

void CLibTrack::ShrinkToFit() {
    const std::size_t slots =
        std::max<std::size_t>(kGrowBy, (std::size_t{count} + kGrowBy - 1) / kGrowBy * kGrowBy);
    if (slots >= events.size()) return;
    events.resize(slots);
    events.shrink_to_fit();
}
