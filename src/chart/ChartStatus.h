#pragma once
// Outcome of the chart file operations: a reason code plus where it happened. The message
// the user sees is made from both in one place, ChartStatus::Message().

#include <string>
#include <utility>

enum class ChartError {
    None,
    // Writing the chart file.
    CreateOutput,  // the new chart file cannot be created
    OutOfMemory,
    WriteOutput,    // a write or the flush to disk failed
    ReadInput,      // "inf.tmp" or the song file cannot be read
    VerifyOutput,   // the written file does not read back as written
    ReplaceOutput,  // the finished file cannot take the place of the old one
    TooManyNotes,   // a track holds more notes than a chart file can store
    CreateInfo,     // "inf.tmp" cannot be written
    // Reading a chart file.
    OpenArchive,     // the file cannot be opened
    NotAnArchive,    // the entry table does not fit the file
    MissingSegment,  // no entry of that name, or it has no end
    BadSegment,      // a segment's bounds lie outside the file or run backwards
    TruncatedInfo,   // the chart information ends before its last field
    ExtractSegment,  // a segment cannot be written to its temporary file
    AlreadyOpen,     // the archive object already has a file open
};

struct ChartStatus {
    ChartError code = ChartError::None;
    std::string where;  // a path, a segment name or a track, to name the place in the message

    bool Ok() const { return code == ChartError::None; }
    explicit operator bool() const { return Ok(); }

    // The user's message for this outcome (empty when Ok()).
    std::string Message() const;

    static ChartStatus Fail(ChartError code, std::string where = {}) { return {code, std::move(where)}; }
};
