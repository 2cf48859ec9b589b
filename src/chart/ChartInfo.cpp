#include "ChartInfo.h"

#include <algorithm>

namespace {

void WriteString(std::string_view text, ByteWriter& out) {
    std::string_view stored = StorableString(text);
    out.U8(static_cast<uint8_t>(stored.size()));
    out.Bytes(stored);
}

// Any length byte is accepted: lengths of 128..255 come from files that stored longer texts,
// and their bytes are taken as stored.
bool ReadString(LittleEndianReader& in, std::string& out) {
    uint8_t length = 0;
    return in.ReadU8(length) && in.ReadString(length, out);
}

void EncodeNoteRecord(const CNote& note, uint8_t* r) {
    ByteWriter::StoreU32(r, static_cast<uint32_t>(note.time));
    ByteWriter::StoreU32(r + 4, static_cast<uint32_t>(note.length));
    r[8] = note.status;
    r[9] = note.key;
    r[10] = note.velocity;
    r[11] = static_cast<uint8_t>((note.selected ? 0x80 : 0) | (note.lane & 7) << 4 | (note.track & 15));
    r[12] = note.longNote ? 0x80 : 0;
}

CNote DecodeNoteRecord(std::span<const uint8_t> r) {
    CNote note;
    note.time = static_cast<int32_t>(r[0] | r[1] << 8 | r[2] << 16 | static_cast<uint32_t>(r[3]) << 24);
    note.length = static_cast<int32_t>(r[4] | r[5] << 8 | r[6] << 16 | static_cast<uint32_t>(r[7]) << 24);
    note.status = r[8];
    note.key = r[9];
    note.velocity = r[10];
    note.selected = (r[11] & 0x80) != 0;
    note.lane = static_cast<uint16_t>((r[11] >> 4) & 7);
    note.track = static_cast<uint16_t>(r[11] & 15);
    note.longNote = (r[12] & 0x80) != 0;
    return note;
}

std::string TrackName(int index) {
    return "track " + std::to_string(index + 1);
}

}  // namespace

std::string_view StorableString(std::string_view text) {
    if (text.size() <= kMaxStoredStringBytes) return text;
    std::size_t cut = kMaxStoredStringBytes;
    // Back off over continuation bytes so the character that would be split is left out whole.
    while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

void WriteTrackBlock(const CNoteTrack& track, ByteWriter& out) {
    std::size_t count = std::min<std::size_t>(track.Count(), kMaxBlockNotes);
    out.U32(static_cast<uint32_t>(track.instrument));
    out.U16(static_cast<uint16_t>(count));
    out.Zeros(16);
    uint8_t* records = out.Extend(count * kNoteRecordBytes);
    for (std::size_t i = 0; i < count; ++i)
        EncodeNoteRecord(track.Notes()[i], records + i * kNoteRecordBytes);
}

void WriteChartInfo(const CChart& chart, ByteWriter& out) {
    const CSongInfo& info = chart.songInfo;
    std::size_t notes = 0;
    for (const CNoteTrack& track : chart.tracks) notes += track.Count();
    out.Reserve(out.Data().size() + 1200 + (kTrackCount + 1) * kBlockHeaderBytes + notes * kNoteRecordBytes);

    WriteString(info.title, out);
    WriteString(info.composer, out);
    WriteString(info.extGenre, out);
    WriteString(info.author, out);
    out.U8(static_cast<uint8_t>(info.genre));
    out.U8(static_cast<uint8_t>(info.currentTrack));
    out.U32(static_cast<uint32_t>(chart.songLengthMs));
    out.U8(static_cast<uint8_t>(info.level));
    out.Zeros(kInfoReservedBytes);
    for (const CNoteTrack& track : chart.tracks) WriteTrackBlock(track, out);
}

Status CheckStorable(const CChart& chart, std::size_t playerCount) {
    for (int i = 0; i < kTrackCount; ++i) {
        if (chart.tracks[static_cast<std::size_t>(i)].Count() > kMaxBlockNotes)
            return Status::Fail(ErrorCode::TooManyNotes, {}, TrackName(i));
    }
    if (playerCount > kMaxBlockNotes) return Status::Fail(ErrorCode::TooManyNotes, {}, "player's notes");
    return {};
}

Status ReadTrackBlock(LittleEndianReader& in, CNoteTrack& track, std::string_view blockName) {
    uint32_t instrument = 0;
    uint16_t count = 0;
    std::span<const uint8_t> records;
    // The records are taken only once the whole block is known to fit, so a count that runs
    // past the segment never allocates or reads anything.
    if (!in.ReadU32(instrument) || !in.ReadU16(count) || !in.Skip(16) ||
        !in.ReadSpan(std::size_t{count} * kNoteRecordBytes, records))
        return Status::Fail(ErrorCode::TruncatedInfo, {}, std::string(blockName));
    track.instrument = static_cast<int32_t>(instrument);
    track.ReserveStorage(track.Count() + count);
    for (std::size_t i = 0; i < count; ++i)
        track.Append(DecodeNoteRecord(records.subspan(i * kNoteRecordBytes, kNoteRecordBytes)));
    return {};
}

Status ReadChartInfo(LittleEndianReader& in, CChart& chart) {
    CSongInfo& info = chart.songInfo;
    uint8_t genre = 0, currentTrack = 0, level = 0;
    uint32_t songLength = 0;
    if (!ReadString(in, info.title) || !ReadString(in, info.composer) || !ReadString(in, info.extGenre) ||
        !ReadString(in, info.author) || !in.ReadU8(genre) || !in.ReadU8(currentTrack) ||
        !in.ReadU32(songLength) || !in.ReadU8(level) || !in.Skip(kInfoReservedBytes))
        return Status::Fail(ErrorCode::TruncatedInfo, {}, "song information");
    info.genre = genre;
    info.currentTrack = currentTrack;
    info.level = level;
    chart.songLengthMs = static_cast<int32_t>(songLength);

    chart.ResetTracks();
    uint16_t used = 0;
    for (int i = 0; i < kTrackCount; ++i) {
        CNoteTrack& track = chart.tracks[static_cast<std::size_t>(i)];
        if (Status status = ReadTrackBlock(in, track, TrackName(i)); !status) return status;
        if (track.Count() != 0) ++used;
    }
    chart.usedTrackCount = used;
    return {};
}

Status ReadChartInfoSegment(std::span<const uint8_t> bytes, CChart& chart) {
    LittleEndianReader in(bytes);
    if (Status status = ReadChartInfo(in, chart); !status) return status;
    chart.player.Reset();
    return ReadTrackBlock(in, chart.player, "player's notes");
}
