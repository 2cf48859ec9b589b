#pragma once
// CNote: the one event record of the program. It holds a parsed MIDI event while a song is
// imported and a chart note once the chart is built.

#include <cstdint>

#include "SharedHandles.h"

struct CNote {
    int32_t time = 0;       // start, chart ticks (MIDI ticks while a MIDI file is being read)
    int32_t length = 0;     // sounding length, chart ticks (scaled by 740 per quarter note)
    int32_t timeMs = 0;     // start in milliseconds; not stored in chart files
    int32_t lengthMs = 0;   // length in milliseconds; not stored in chart files
    uint8_t status = 0;     // MIDI status of the note-on; low nibble = channel (9 = drums)
    uint8_t key = 0;        // MIDI key 0..127
    uint8_t velocity = 0;   // MIDI velocity 1..127
    bool selected = false;  // one of the player's notes (has a copy in the selection list)
    bool swept = false;     // toggled by the rubber band currently being dragged; never stored
    bool longNote = false;  // the player holds this note for its length
    uint16_t track = 0;     // index 0..15 of the chart track that holds the note
    uint16_t lane = 0;      // display lane 0..6
    uint16_t hidden = 0;    // 1 = hidden by the overlap pass; recomputed after every load
    CSharedData data;       // extra bytes of a system-exclusive or meta event, usually null
};

// Note equality as the selection list sees it: same start, status, key and velocity.
inline bool SameNote(const CNote& a, const CNote& b) {
    return a.time == b.time && a.status == b.status && a.key == b.key && a.velocity == b.velocity;
}
