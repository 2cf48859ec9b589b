#include "EventsCommand.h"

#include "midi_import/EventText.h"
#include "midi_import/SmfFile.h"
#include "smf/FileBytes.h"
#include "smf/SmfLayout.h"

int RunEvents(const std::filesystem::path& midiPath, std::ostream& out, std::ostream& err) {
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(midiPath);
    if (!bytes) {
        err << "ryxtool: cannot open " << midiPath.string() << "\n";
        return 2;
    }
    CSmfFile file;
    file.ReadBytes(*bytes);
    if (file.chunkId != kChunkMThd) {
        err << "ryxtool: " << midiPath.string() << " is not a Standard MIDI File\n";
        return 2;
    }
    out << "format " << file.format << " tracks " << file.trackCount << " division " << file.division << "\n";
    for (int n = 0; n < file.trackCount; ++n) {
        out << "track " << n << "\n";
        for (const CNote& event : *file.TrackEvents(n)) out << EventText(event) << "\n";
    }
    return 0;
}
