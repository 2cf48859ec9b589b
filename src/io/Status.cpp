#include "Status.h"

#include <cerrno>
#include <system_error>

namespace {

const char* BaseText(ErrorCode code) {
    switch (code) {
        case ErrorCode::None: return "";
        case ErrorCode::OutOfMemory: return "Out of memory";
        case ErrorCode::CreateOutput: return "Unable to create output file";
        case ErrorCode::WriteOutput: return "Error writing to output file";
        case ErrorCode::ReadInput: return "Error reading input file";
        case ErrorCode::VerifyOutput:
            return "The saved chart did not read back as written; the old file is kept";
        case ErrorCode::ReplaceOutput: return "Unable to replace the chart file; the old file is kept";
        case ErrorCode::ReadOnlyOutput: return "is read-only; save under another name";
        case ErrorCode::OutputNotAFile: return "is not a file that can be written";
        case ErrorCode::OutputIsInput: return "is the input file; choose another name for the output";
        case ErrorCode::PortUnusable: return "The output port cannot be opened";
        case ErrorCode::NothingToPlay: return "Nothing to play from here: the view is at the song's end";
        case ErrorCode::TooManyNotes: return "A track holds more than 65535 notes and cannot be saved";
        case ErrorCode::CreateInfo: return "Unable to write the chart information file";
        case ErrorCode::ExtractSegment: return "Unable to write a temporary file";
        case ErrorCode::OpenArchive: return "Unable to open the chart file";
        case ErrorCode::ArchiveIsFolder: return "This is a folder, not a chart file";
        case ErrorCode::NotAnArchive: return "Not a chart file: its entry table does not fit the file";
        case ErrorCode::MissingSegment: return "The chart file has no segment named";
        case ErrorCode::SegmentWithoutEnd:
            return "The chart file is damaged: its entry table ends without an end entry after segment";
        case ErrorCode::SegmentPastEnd: return "The chart file is damaged: it ends before segment";
        case ErrorCode::SegmentsOutOfOrder:
            return "The chart file is damaged: its entry table is out of order at segment";
        case ErrorCode::TruncatedInfo: return "The chart file is damaged: its chart information is cut short";
        case ErrorCode::AlreadyOpen: return "A chart file is already open";
        case ErrorCode::OpenInput: return "Unable to read the file";
        case ErrorCode::NotMidi: return "Not a Standard MIDI File";
        case ErrorCode::FileTooLarge: return "The file is too large to be read";
        // The drawing layer's own texts, as the window has always shown them.
        case ErrorCode::ImageMissing: return "Can't Find File";
        case ErrorCode::ImageHeader: return "Can't Open Header";
        case ErrorCode::ImageNotBmp: return "Not BMP Format";
        case ErrorCode::ImageTooLarge: return "Not Enough Bitmap Memory";
        case ErrorCode::ImageDamaged: return "Can't Load File";
        case ErrorCode::NoPlayerNotes: return "The chart has no player notes to export; choose some first";
        case ErrorCode::WriteArchive: return "Unable to write the archive";
        case ErrorCode::TooManySounds:
            return "A BMS chart names at most 1293 sounds; export it without keysounds";
    }
    return "Unknown error";
}

// Codes whose part is a name the message quotes ("mid") rather than a place it adds.
bool QuotesPart(ErrorCode code) {
    return code == ErrorCode::MissingSegment || code == ErrorCode::SegmentWithoutEnd ||
           code == ErrorCode::SegmentPastEnd || code == ErrorCode::SegmentsOutOfOrder;
}

// Codes whose message starts with the file it is about: "<file> is read-only; ...".
bool NamesFileFirst(ErrorCode code) {
    return code == ErrorCode::ReadOnlyOutput || code == ErrorCode::OutputNotAFile ||
           code == ErrorCode::OutputIsInput;
}

}  // namespace

std::string Status::Message() const {
    if (Ok()) return {};
    if (NamesFileFirst(code)) return where + " " + BaseText(code);
    std::string text = BaseText(code);
    if (QuotesPart(code)) {
        text += " \"" + part + "\"";
        if (!where.empty()) text += " (" + where + ")";
    } else if (!where.empty() || !part.empty()) {
        text += " (" + where + (where.empty() || part.empty() ? "" : ", ") + part + ")";
    }
    if (!reason.empty()) text += ": " + reason;
    return text;
}

Status Status::FailWithSystemReason(ErrorCode code, std::string where) {
    Status status = Fail(code, std::move(where));
    if (errno != 0) status.reason = std::generic_category().message(errno);
    return status;
}
