#include "RepairChecks.h"

namespace {

bool Matches(const LibEvent& e, int mask) {
    if ((mask & kDeleteNotes) && e.status >= 0x80 && e.status <= 0x9F) return true;
    if ((mask & kDeleteProgramChanges) && e.status >= 0xC0 && e.status <= 0xCF) return true;
    if ((mask & kDeleteSysEx) && e.status == kSysExStatus) return true;
    if ((mask & kDeleteBankSelect) && e.status >= 0xB0 && e.status <= 0xBF && e.data1 == 0) return true;
    return false;
}

}  // namespace

bool DeleteEvents(CMidiSong& song, int mask) {
    if (!song.IsLoaded()) return song.unchanged;
    uint32_t deleted = 0;
    for (int t = 0; t < song.TrackCount(); ++t)
        deleted +=
            song.Track(t).DeleteWhereKeepingTime([mask](const LibEvent& e) { return Matches(e, mask); });
    song.unchanged = deleted == 0;
    return song.unchanged;
}
