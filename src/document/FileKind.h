#pragma once
// Which files the program opens, and how: by the file name's extension, in any case.

#include <filesystem>

enum class FileKind {
    Midi,   // .mid, .midi, .rmi: converted into a chart
    Chart,  // .ryx: opened as a chart
    Other,  // refused with a message naming the file
};

FileKind KindOfFile(const std::filesystem::path& path);
