#pragma once
// The check every command that writes a file makes before it reads or writes anything.

#include <filesystem>
#include <ostream>

#include "io/FileSystem.h"

// False, after a message on `err`, when `output` is the very file `input` (through links too):
// writing it would destroy the input the command reads.
inline bool OutputIsNotInput(const std::filesystem::path& output, const std::filesystem::path& input,
                             std::ostream& err) {
    if (!SameFile(output, input)) return true;
    err << "ryxtool: " << Status::Fail(ErrorCode::OutputIsInput, PathText(output)).Message() << "\n";
    return false;
}
