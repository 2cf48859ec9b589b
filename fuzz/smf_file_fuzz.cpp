// Fuzz target: the program's own MIDI file reader over bytes, with every event's text form.

#include <cstdint>
#include <span>

#include "midi_import/EventText.h"
#include "midi_import/SmfFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CSmfFile file;
    file.ReadBytes(std::span<const uint8_t>(data, size));
    for (int n = 0; n < file.trackCount; ++n) {
        for (const CNote& event : *file.TrackEvents(n)) EventText(event);
    }
    return 0;
}
