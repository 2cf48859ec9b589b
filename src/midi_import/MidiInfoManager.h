#pragma once
// CMidiInfoManager: the instrument names shown beside each chart track, read from the
// instrument list file "Instlist.txt".
//
// The file has 236 lines, each an instrument code in hexadecimal (General MIDI programs 0 to
// 7F, 80000000 for the standard drum kit), blanks, and the name up to the end of the line.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "io/Status.h"

class CMidiInfoManager {
  public:
    static constexpr std::size_t kEntries = 236;

    // Reads the list into `out`; OpenInput or FileTooLarge when the file cannot be read.
    static Status Read(const std::filesystem::path& path, CMidiInfoManager& out);
    // Reads the list from text. Lines past the 236th are ignored; a list that ends early, or a
    // line without a readable code, gives entries with code 0 and the rest of the line (or
    // nothing) as the name, without reading past the text.
    static CMidiInfoManager Parse(std::span<const char> text);

    // Name of the first entry with this code; empty when there is none.
    std::string NameOf(int32_t code) const;

    std::vector<int32_t> codes;
    std::vector<std::string> names;
};
