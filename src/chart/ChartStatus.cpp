#include "ChartStatus.h"

namespace {
const char* BaseText(ChartError code) {
    switch (code) {
        case ChartError::None: return "";
        case ChartError::CreateOutput: return "Unable to create output file";
        case ChartError::OutOfMemory: return "Out of memory";
        case ChartError::WriteOutput: return "Error writing to output file";
        case ChartError::ReadInput: return "Error reading input file";
        case ChartError::VerifyOutput:
            return "The saved chart did not read back as written; the old file is kept";
        case ChartError::ReplaceOutput: return "Unable to replace the chart file; the old file is kept";
        case ChartError::TooManyNotes: return "A track holds more than 65535 notes and cannot be saved";
        case ChartError::CreateInfo: return "Unable to write the chart information file";
        case ChartError::OpenArchive: return "Unable to open the chart file";
        case ChartError::NotAnArchive: return "Not a chart file: its entry table does not fit the file";
        case ChartError::MissingSegment: return "The chart file has no segment named";
        case ChartError::BadSegment: return "The chart file is damaged: a segment lies outside the file";
        case ChartError::TruncatedInfo:
            return "The chart file is damaged: its chart information is cut short";
        case ChartError::ExtractSegment: return "Unable to write a temporary file";
        case ChartError::AlreadyOpen: return "A chart file is already open";
    }
    return "Unknown error";
}
}  // namespace

std::string ChartStatus::Message() const {
    std::string text = BaseText(code);
    if (code == ChartError::MissingSegment) return text + " \"" + where + "\"";
    if (!where.empty() && code != ChartError::None) text += " (" + where + ")";
    return text;
}
