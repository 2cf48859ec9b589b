#include "MidiInfoManager.h"

#include "io/FileBytes.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

Status CMidiInfoManager::Read(const std::filesystem::path& path, CMidiInfoManager& out) {
    // The list is a few kilobytes; anything past a megabyte is not an instrument list.
    std::vector<uint8_t> bytes;
    if (Status status = ReadFileBytes(path, bytes, 1 << 20); !status) return status;
    out = Parse({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    return {};
}

CMidiInfoManager CMidiInfoManager::Parse(std::span<const char> text) {
    CMidiInfoManager list;
    std::size_t at = 0;
    while (list.codes.size() < kEntries) {
        // Leading blanks, then a hexadecimal code (wrapping at 32 bits like the list's
        // 80000000), then any blanks, including line ends of blank lines.
        while (at < text.size() && IsBlank(text[at])) ++at;
        uint32_t code = 0;
        while (at < text.size() && HexDigit(text[at]) >= 0)
            code = code << 4 | static_cast<uint32_t>(HexDigit(text[at++]));
        while (at < text.size() && IsBlank(text[at]) && text[at] != '\n') ++at;
        std::string name;
        while (at < text.size() && text[at] != '\n') {
            if (text[at] != '\r') name += text[at];
            ++at;
        }
        if (at < text.size()) ++at;  // the line feed
        list.codes.push_back(static_cast<int32_t>(code));
        list.names.push_back(std::move(name));
    }
    return list;
}

std::string CMidiInfoManager::NameOf(int32_t code) const {
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == code) return names[i];
    }
    return {};
}
