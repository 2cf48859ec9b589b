#include "LengthTrim.h"

#include <algorithm>

void TrimLengths(CNoteTrack& track, int d) {
    auto notes = track.Notes();
    const int64_t gapWanted = int64_t{10} * d;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        CNote& note = notes[i];
        for (std::size_t j = i + 1; j < notes.size() && j <= i + 10; ++j) {
            const CNote& next = notes[j];
            if (next.hidden || next.lane != note.lane || next.key != note.key) continue;
            const int64_t gap = int64_t{next.time} - (int64_t{note.time} + note.length);
            if (gap > 0 && gap < gapWanted)
                note.length =
                    static_cast<int32_t>(std::max<int64_t>(0, int64_t{next.time} - note.time - gapWanted));
        }
    }
}
