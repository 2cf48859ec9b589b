#include "Chart.h"

CChart::CChart() {
    selection.sortThreshold = 64;
    player.muted = true;
}

void CChart::ResetTracks() {
    for (CNoteTrack& track : tracks) {
        track.Reset();
        track.instrument = 0;
    }
    usedTrackCount = 0;
    player.muted = true;
}

void CChart::AssignInstrument(const CNote& event, int trackIndex) {
    if (trackIndex < 0 || trackIndex >= kTrackCount) return;
    CNoteTrack& track = tracks[static_cast<std::size_t>(trackIndex)];
    if (track.instrument != 0) return;
    track.instrument = (event.status & 0x0F) == 9 ? kDrumInstrument : event.key;
}

void CChart::SetPlayFilter(int16_t mode) {
    if (mode < kPlayPlayerOnly || mode >= kTrackCount) return;
    player.muted = mode != kPlayPlayerOnly;
    for (int i = 0; i < kTrackCount; ++i)
        tracks[static_cast<std::size_t>(i)].muted = mode != kPlayAll && mode != i;
}

void CChart::RebuildSelectionFromPlayer() {
    selection.RemoveAll();
    selection.ReserveStorage(player.Count());
    for (const CNote& note : player.Notes()) selection.InsertAt(selection.GetSize(), note);
    selectionChanged = false;
}

void CChart::RebuildPlayerFromSelection() {
    player.Reset();
    player.ReserveStorage(static_cast<uint32_t>(selection.Count()));
    for (const CNote& note : selection.Notes()) player.Append(note);
    selectionChanged = false;
}


std::span<const CNote> CChart::PlayerNotes() const {
    return selectionChanged ? selection.Notes() : player.Notes();
}

void CChart::UpdatePlayerTrack() {
    if (selectionChanged) RebuildPlayerFromSelection();
}
