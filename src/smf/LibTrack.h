#pragma once
// CLibTrack: one track of a song as library events, plus what the 8-byte stream cannot hold.
//
// What is kept where:
// - events: channel messages, tempo changes (status 0) and system-exclusive messages
//   (status 0xF0), with delta times. The repair checks work on these only.
// - sysex: the payload of each system-exclusive event, found through the event's 24-bit
//   index. Deleting the event leaves its payload unused; nothing else refers to it.
// - name: the track name (the first sequence/track name meta event).
// - metas: every other meta event (time and key signatures, texts, markers, lyrics,
//   copyright, SMPTE offset, sequencer-specific, ...) with its absolute time, written back at
//   that time, ahead of stream events of the same tick.
// - endTime: the absolute time of the end of the track, so trailing silence survives a write.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "LibEvent.h"
#include "io/Clamp.h"

class CLibSmf;

struct SysExPayload {
    bool escaped = false;        // written as an 0xF7 ("escape") event rather than 0xF0
    std::vector<uint8_t> bytes;  // the bytes after the status and length, as stored
};

struct KeptMeta {
    uint64_t time = 0;  // absolute ticks
    uint8_t type = 0;
    std::vector<uint8_t> data;
};

class CLibTrack {
  public:
    static constexpr uint32_t kGrowBy = 8192;

    CLibTrack();
    // A copy or a moved-to track holds the same events but is attached to no file.
    CLibTrack(const CLibTrack& other);
    CLibTrack(CLibTrack&& other) noexcept;
    CLibTrack& operator=(const CLibTrack& other);
    CLibTrack& operator=(CLibTrack&& other) noexcept;
    // Detaches the track from its file, so the file never refers to a track that is gone.
    ~CLibTrack();

    // Event i for i below Capacity() (slots past Count() are zero); an all-zero event beyond.
    LibEvent Event(uint32_t i) const;
    // Sets event i for i below Capacity(); extends Count() to cover it.
    void SetEvent(uint32_t i, const LibEvent& event);
    // Inserts at `index` (later events move up) or appends when index >= Count().
    void Insert(const LibEvent& event, uint32_t index = UINT32_MAX);
    // Removes event i; later events move down one place.
    void Delete(uint32_t i);
    // Removes event i and adds its delta to the event that takes its place, so every later
    // event keeps its absolute time. The delta of a removed last event is lost.
    void DeleteKeepingTime(uint32_t i);
    // DeleteKeepingTime for every event from the cursor on for which `remove` is true, in one
    // pass over the track. Returns the number removed.
    template <typename Predicate>
    uint32_t DeleteWhereKeepingTime(Predicate remove);
    // Adds `delta` to event i's delta time; a negative result becomes 0.
    void AddTime(uint32_t i, int64_t delta);
    // Delta time of event i; 0 beyond Count().
    uint32_t Time(uint32_t i) const;
    // Sum of the deltas of events 0..i; 0 beyond Count().
    uint64_t AbsoluteTime(uint32_t i) const;

    const std::string& Name() const { return name; }
    void SetName(std::string text) { name = std::move(text); }

    uint32_t Count() const { return count; }
    uint32_t Capacity() const { return static_cast<uint32_t>(events.size()); }

    // Drops every event, payload, kept meta event and the name; capacity back to 8192.
    void Clear();

    // Appends a system-exclusive event whose payload is kept in the track's table (ignored
    // once the table holds 2^24 payloads, the most an event can name).
    void AppendSysEx(uint32_t delta, SysExPayload payload);
    // Payload of a system-exclusive event, or null when its index names none.
    const SysExPayload* PayloadOf(const LibEvent& event) const;

    // Shrinks the capacity to the smallest multiple of 8192 that holds Count() events.
    void ShrinkToFit();

    // Grows the storage so at least `free` slots follow Count().
    void ReserveFree(uint32_t free);

    uint32_t cursor = 0;  // index of the first event still to be written
    std::vector<SysExPayload> sysex;
    std::vector<KeptMeta> metas;  // in ascending time
    uint64_t endTime = 0;

    // The file the track is attached to, if any.
    const CLibSmf* AttachedFile() const { return file; }

  private:
    // Only CLibSmf sets the link, in AddTrack, RemoveTrack and Close, so the track and the
    // file always agree on it.
    friend class CLibSmf;
    CLibSmf* file = nullptr;

    static uint32_t SaturatingAdd(uint32_t a, uint32_t b) { return ClampToU32(uint64_t{a} + b); }

    std::string name;
    std::vector<LibEvent> events;  // Capacity() slots, zero past Count()
    uint32_t count = 0;
};

template <typename Predicate>
uint32_t CLibTrack::DeleteWhereKeepingTime(Predicate remove) {
    uint32_t kept = std::min(cursor, count);
    uint32_t carried = 0;  // deltas of removed events, owed to the next kept event
    for (uint32_t i = kept; i < count; ++i) {
        LibEvent event = events[i];
        if (remove(event)) {
            carried = SaturatingAdd(carried, event.delta);
            continue;
        }
        event.delta = SaturatingAdd(event.delta, carried);
        carried = 0;
        events[kept++] = event;
    }
    const uint32_t removed = count - kept;
    std::fill(events.begin() + kept, events.begin() + count, LibEvent{});
    count = kept;
    return removed;
}
