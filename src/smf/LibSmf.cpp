#include "LibSmf.h"

#include <algorithm>

#include "LibTrackCodec.h"
#include "io/FileSystem.h"

Status CLibSmf::Open(const std::filesystem::path& filePath, char openMode, uint16_t fileFormat) {
    Close();
    if (openMode == 'w') {
        path = filePath;
        mode = 'w';
        format = fileFormat;
        open = true;
        return {};
    }
    if (openMode != 'r') return Status::Fail(ErrorCode::OpenInput, PathText(filePath));
    std::vector<uint8_t> read;
    if (Status status = ReadSmfFileBytes(filePath, read); !status) return status;
    Status status = OpenBytes(std::move(read));
    if (!status) status.where = PathText(filePath);
    path = filePath;
    return status;
}

Status CLibSmf::OpenBytes(std::vector<uint8_t> fileBytes) {
    if (open) Close();
    bytes = std::move(fileBytes);
    mode = 'r';
    Status status = ParseOpenedBytes();
    open = status.Ok();
    if (!open) Close();
    return status;
}

Status CLibSmf::ParseOpenedBytes() {
    if (Status status = ReadSmfLayout(bytes, header, chunks); !status) return status;
    format = header.format;
    resolution = TicksPerQuarter(header.division);
    return {};
}

void CLibSmf::Close() {
    for (CLibTrack* track : attached) track->file = nullptr;
    attached.clear();
    bytes.clear();
    bytes.shrink_to_fit();
    chunks.clear();
    header = {};
    open = false;
    mode = 0;
}

void CLibSmf::AddTrack(CLibTrack& track, std::size_t index) {
    // A track belongs to one file at a time, so that whichever goes away first can tell the other.
    if (track.file) track.file->RemoveTrack(track);
    index = std::min(index, attached.size());
    attached.insert(attached.begin() + static_cast<std::ptrdiff_t>(index), &track);
    track.file = this;
}

bool CLibSmf::RemoveTrack(CLibTrack& track) {
    auto found = std::find(attached.begin(), attached.end(), &track);
    if (found == attached.end()) return false;
    attached.erase(found);
    track.file = nullptr;
    return true;
}

bool CLibSmf::Read() {
    if (!open || mode != 'r' || attached.empty()) return false;
    for (std::size_t i = 0; i < attached.size() && i < chunks.size(); ++i)
        ReadLibTrackChunk(chunks[i].body, *attached[i]);
    for (CLibTrack* track : attached) track->cursor = 0;
    return true;
}

void CLibSmf::SetResolution(uint16_t ticksPerQuarter) {
    resolution =
        ticksPerQuarter == 0 || (ticksPerQuarter & 0x8000) ? kDefaultTicksPerQuarter : ticksPerQuarter;
}

std::vector<uint8_t> CLibSmf::Serialize() const {
    // Format 0 holds one track only, so a second attached track makes the file format 1.
    const uint16_t fileFormat = format == 0 && attached.size() > 1 ? 1 : format;
    const auto tracks = static_cast<uint16_t>(std::min<std::size_t>(attached.size(), 0xFFFF));
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    for (uint16_t value : {fileFormat, tracks, resolution}) {
        out.push_back(static_cast<uint8_t>(value >> 8));
        out.push_back(static_cast<uint8_t>(value));
    }
    for (std::size_t i = 0; i < tracks; ++i) WriteLibTrackChunk(*attached[i], out);
    return out;
}

Status CLibSmf::Write() {
    if (!open || mode != 'w' || attached.empty())
        return Status::Fail(ErrorCode::CreateOutput, PathText(path));
    return SaveFileAtomically(path, Serialize());
}
