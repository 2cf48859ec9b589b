#pragma once
// The repair checks over a loaded CMidiSong, in the order the repair pipeline runs them.
// Each does nothing when the song is not loaded; FixPatches, FixLength and FixTempo also do
// nothing for format 0. The checks that report a result set song.unchanged and return it.

#include "MidiSong.h"

// Splits a format 0 song into 17 tracks: tempo events to track 0, channel messages of
// channel c to track c + 1, every other event dropped; the format becomes 1. The single
// track's name, meta events and end time go to track 0.
void ConvertToFormat1(CMidiSong& song);

// Event kinds DeleteEvents can remove, tested in this order.
enum DeleteMask : int {
    kDeleteNotes = 1,           // note-off and note-on, 0x80..0x9F
    kDeleteSysEx = 2,           // system exclusive
    kDeleteProgramChanges = 4,  // 0xC0..0xCF
    kDeleteBankSelect = 8,      // control change 0 (bank select MSB); controller 32 stays
};

// Deletes, keeping time, every event of every track that `mask` names. True (unchanged)
// when nothing was deleted.
bool DeleteEvents(CMidiSong& song, int mask);

// Removes program changes from drum-channel tracks, gives every other channel track that has
// none a program change 0, and puts the nine tuning controllers at the start of every
// channel track. True (unchanged) when no program change had to be added.
bool FixPatches(CMidiSong& song);

// Appends a control change 9 with value 0 at the end of every non-empty channel track.
void FixLength(CMidiSong& song);

// Spreads the tempo track's events at least one quarter note apart (the first one never
// moves) and removes tempo events that repeat the previous value. True (unchanged) when
// nothing had to change.
bool FixTempo(CMidiSong& song);

// Moves the channel messages (0x80..0xEF: notes, controllers, programs) of track 0 of a
// format 1 song, at their own times, to a new track placed right after it, which every later
// check and the chart builder then treat as the first channel track. Everything else stays in
// track 0 for the later checks (the junk check removes its system exclusive), so a tempo
// track with a GM reset adds no track. True (unchanged) when nothing moved.
bool SeparateTempoTrack(CMidiSong& song);
