#pragma once
// Bounded little-endian reading over a byte span: every read checks what is left first and
// fails, leaving the position where it was, rather than read past the end.

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes(bytes) {}

    std::size_t Remaining() const { return bytes.size() - position; }
    std::size_t Position() const { return position; }

    bool Skip(std::size_t n) {
        if (n > Remaining()) return false;
        position += n;
        return true;
    }

    bool ReadU8(uint8_t& out) {
        if (Remaining() < 1) return false;
        out = bytes[position++];
        return true;
    }

    bool ReadU16(uint16_t& out) {
        if (Remaining() < 2) return false;
        out = static_cast<uint16_t>(bytes[position] | bytes[position + 1] << 8);
        position += 2;
        return true;
    }

    bool ReadU32(uint32_t& out) {
        if (Remaining() < 4) return false;
        out = static_cast<uint32_t>(bytes[position]) | static_cast<uint32_t>(bytes[position + 1]) << 8 |
              static_cast<uint32_t>(bytes[position + 2]) << 16 | static_cast<uint32_t>(bytes[position + 3]) << 24;
        position += 4;
        return true;
    }

    bool ReadString(std::size_t n, std::string& out) {
        if (n > Remaining()) return false;
        out.assign(reinterpret_cast<const char*>(bytes.data() + position), n);
        position += n;
        return true;
    }

    // The next n bytes without copying them.
    bool ReadSpan(std::size_t n, std::span<const uint8_t>& out) {
        if (n > Remaining()) return false;
        out = bytes.subspan(position, n);
        position += n;
        return true;
    }

private:
    std::span<const uint8_t> bytes;
    std::size_t position = 0;
};
