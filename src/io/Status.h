#pragma once
// Status: the outcome of every core operation that can fail for a reason the user should
// hear of: a reason code, the file it happened to, the part of that file (a segment, a track)
// and the system's own reason ("Permission denied"). The text the user sees is made from
// these in one place, Status::Message(); the core never builds user messages itself, the
// command line and the window show Message().

#include <string>
#include <utility>

enum class ErrorCode {
    None,
    OutOfMemory,
    // Writing a file.
    CreateOutput,    // the new file cannot be created
    WriteOutput,     // a write or the flush to disk failed
    ReadInput,       // a file the save copies from cannot be read
    VerifyOutput,    // the written file does not read back as written
    ReplaceOutput,   // the finished file cannot take the place of the old one
    ReadOnlyOutput,  // the file to replace may not be written by this user
    OutputNotAFile,  // the output is a folder or another thing a file cannot replace
    OutputIsInput,   // the output is the very file being read
    // Playing.
    PortUnusable,    // the output port cannot be opened
    NothingToPlay,   // the view is at the song's end
    TooManyNotes,    // a track holds more notes than a chart file can store
    CreateInfo,      // "inf.tmp" cannot be written
    ExtractSegment,  // a segment cannot be written to its temporary file
    // Reading a chart file.
    OpenArchive,         // the file cannot be opened
    ArchiveIsFolder,     // a folder was given where a chart file belongs
    NotAnArchive,        // the entry table does not fit the file
    MissingSegment,      // no entry of that name
    SegmentWithoutEnd,   // the entry is the last one, so nothing says where its segment ends
    SegmentPastEnd,      // the entry's offset lies past the end of the file
    SegmentsOutOfOrder,  // the segment ends before it starts
    TruncatedInfo,       // the chart information ends before its last field
    AlreadyOpen,         // the archive object already has a file open
    // Reading a MIDI file or an image.
    OpenInput,      // the file cannot be opened or read
    NotMidi,        // no Standard MIDI File header, or no track in the file
    FileTooLarge,   // larger than any real input of its kind, refused before it is read
    ImageMissing,   // the view's artwork file cannot be read
    ImageHeader,    // too short to hold an image header
    ImageNotBmp,    // neither a bitmap nor a layered image
    ImageTooLarge,  // more pixels than the view could use, or no memory for them
    ImageDamaged,   // the decoder refused it, or it claims more pixels than its bytes hold
    // Exporting.
    NoPlayerNotes,  // the chart has no player notes to export
    WriteArchive,   // the archive cannot be written
    TooManySounds,  // more keysounds than a BMS chart can name
};

struct Status {
    ErrorCode code = ErrorCode::None;
    std::string where;   // the file, as UTF-8 path text
    std::string part;    // a segment name or a track, where the code is about one
    std::string reason;  // the system's reason, when the system gave one

    bool Ok() const { return code == ErrorCode::None; }
    explicit operator bool() const { return Ok(); }

    // The user's message for this outcome (empty when Ok()).
    std::string Message() const;

    static Status Fail(ErrorCode code, std::string where = {}, std::string part = {}) {
        return {code, std::move(where), std::move(part), {}};
    }
    // The same with the system's reason for the last failed system call (errno).
    static Status FailWithSystemReason(ErrorCode code, std::string where = {});
};
