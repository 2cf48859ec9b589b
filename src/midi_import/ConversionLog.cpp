#include "ConversionLog.h"

#include <algorithm>

void ConversionLog::Prepare(std::string_view title) {
    text = "'" + std::string(title) + "' convert to RYX. Press 'OK'\r\n";
    status.clear();
    progressPos = 0;
    Changed();
}

void ConversionLog::BeginStage(std::string_view stageStatus, std::string_view openingLine,
                               bool moveAfterLine) {
    status = stageStatus;
    if (!moveAfterLine) ++progressPos;
    text += openingLine;
    if (moveAfterLine) ++progressPos;
    Changed();
}

void ConversionLog::Append(std::string_view more) {
    text += more;
    Changed();
}

void ConversionLog::Changed() {
    logLines = 1;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++logLines;
    if (onChange) onChange(*this);
}
