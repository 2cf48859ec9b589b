#include "EventsCommand.h"

#include "midi_import/EventText.h"
#include "midi_import/SmfFile.h"

int RunEvents(const std::filesystem::path& midiPath, std::ostream& out, std::ostream& err) {
    CSmfFile file;
    if (Status status = file.Read(midiPath); !status) {
        err << "ryxtool: " << status.Message() << "\n";
        return 2;
    }
    for (int track : file.tracksEndingEarly) err << "ryxtool: " << TrackEndsEarlyText(track) << "\n";
    out << "format " << file.format << " tracks " << file.trackCount << " division " << file.division << "\n";
    for (int n = 0; n < file.trackCount; ++n) {
        out << "track " << n << "\n";
        for (const CNote& event : *file.TrackEvents(n)) out << EventText(event) << "\n";
    }
    return 0;
}
