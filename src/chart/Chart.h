#pragma once
// CChart: the open chart as one object. The main window owns one and hands it to the view,
// the player and the file commands; tests make as many as they like.

#include <array>
#include <cstdint>
#include <span>

#include "NoteList.h"
#include "NoteTrack.h"
#include "SongInfo.h"
#include "TempoMap.h"

inline constexpr int kTrackCount = 16;

// Play filter modes besides a track index 0..15.
inline constexpr int16_t kPlayPlayerOnly = -2;
inline constexpr int16_t kPlayAll = -1;

class CChart {
  public:
    CChart();

    // Empties the 16 tracks (10 free slots each), clears their muted flags and
    // instruments, sets usedTrackCount to 0 and mutes the player track. Runs before a
    // conversion and before a chart file is read.
    void ResetTracks();

    // Gives track `trackIndex` the instrument of a program-change `event` if it has none yet:
    // kDrumInstrument on channel 10 (status low nibble 9), else the program number.
    void AssignInstrument(const CNote& event, int trackIndex);

    // -2: only the player's notes sound; -1: everything except the player track; 0..15:
    // only that track. Any other mode changes nothing.
    void SetPlayFilter(int16_t mode);

    // Replaces the selection list with a copy of the player track and clears selectionChanged.
    void RebuildSelectionFromPlayer();

    // Replaces the player track with a copy of the selection list and clears selectionChanged.
    void RebuildPlayerFromSelection();

    // The one place the player track catches up with the selection list: the player's notes
    // as they stand (the selection list when it changed since the player track was built), and
    // the player track brought up to date with them.
    std::span<const CNote> PlayerNotes() const;
    void UpdatePlayerTrack();


    std::array<CNoteTrack, kTrackCount> tracks;
    CNoteTrack player;            // the player's notes, sorted by time
    uint16_t usedTrackCount = 0;  // tracks 0..usedTrackCount-1 hold the song's notes
    int32_t songLengthMs = 0;
    CSongInfo songInfo;
    CNoteList selection;            // copies of every selected track note, sorted by time
    bool selectionChanged = false;  // the selection list differs from the player track
    CTempoMap tempoMap;             // tempo changes of the song at songInfo.midiPath
};
