#include "NoteTrack.h"

#include <algorithm>
#include <utility>

CNoteTrack::CNoteTrack(uint32_t capacity) : capacity(capacity == 0 ? kGrowBy : capacity) {}

CNote& CNoteTrack::At(uint32_t index) {
    if (index < notes.size()) return notes[index];
    scratchNote = CNote{};
    return scratchNote;
}

const CNote& CNoteTrack::At(uint32_t index) const {
    static const CNote kNoNote{};
    return index < notes.size() ? notes[index] : kNoNote;
}

void CNoteTrack::Append(const CNote& note) {
    if (notes.size() >= capacity) capacity += kGrowBy;
    notes.push_back(note);
}

void CNoteTrack::Append(CNote&& note) {
    if (notes.size() >= capacity) capacity += kGrowBy;
    notes.push_back(std::move(note));
}

void CNoteTrack::AdoptNotes(std::vector<CNote>&& adopted) {
    notes = std::move(adopted);
    const auto count = static_cast<uint32_t>(notes.size());
    capacity = count <= kGrowBy ? kGrowBy : (count + kGrowBy - 1) / kGrowBy * kGrowBy;
}

void CNoteTrack::Reset(uint32_t newCapacity) {
    notes.clear();
    notes.shrink_to_fit();
    capacity = newCapacity == 0 ? kGrowBy : newCapacity;
    muted = false;
}

uint32_t CNoteTrack::FirstAtOrAfter(int32_t t) const {
    auto first = std::find_if(notes.begin(), notes.end(), [t](const CNote& n) { return n.time >= t; });
    return static_cast<uint32_t>(first - notes.begin());
}
