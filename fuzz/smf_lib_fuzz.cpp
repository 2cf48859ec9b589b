// Fuzz target: the MIDI library layer reading a file from bytes, writing what it read and
// reading that again; the second read must give the same events.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "smf/LibSmf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CLibSmf smf;
    if (!smf.OpenBytes(std::vector<uint8_t>(data, data + size))) return 0;
    std::vector<CLibTrack> tracks(smf.FileTrackCount());
    if (tracks.empty()) return 0;
    for (CLibTrack& track : tracks) smf.AddTrack(track);
    smf.Read();

    CLibSmf writer;
    writer.Open("unused.mid", 'w', smf.Format());
    for (CLibTrack& track : tracks) writer.AddTrack(track);
    writer.SetResolution(smf.Resolution());
    std::vector<uint8_t> written = writer.Serialize();

    CLibSmf again;
    if (!again.OpenBytes(written)) std::abort();
    std::vector<CLibTrack> reread(again.FileTrackCount());
    if (reread.size() != tracks.size()) std::abort();
    for (CLibTrack& track : reread) again.AddTrack(track);
    again.Read();
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        if (reread[t].Count() != tracks[t].Count() || reread[t].Name() != tracks[t].Name()) std::abort();
        for (uint32_t i = 0; i < tracks[t].Count(); ++i) {
            LibEvent a = tracks[t].Event(i), b = reread[t].Event(i);
            // An event the stream cannot write (never produced by reading) would be left out;
            // everything read must come back exactly.
            if (!(a == b)) std::abort();
        }
    }
    return 0;
}
