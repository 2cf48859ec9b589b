#pragma once
// Bounded big-endian reading over a byte span, as Standard MIDI Files store their numbers.
// Every read checks what is left first and fails, rather than read past the end.

#include <cstdint>
#include <span>

class BigEndianReader {
public:
    explicit BigEndianReader(std::span<const uint8_t> bytes) : bytes(bytes) {}

    std::size_t Remaining() const { return bytes.size() - position; }
    std::size_t Position() const { return position; }
    bool AtEnd() const { return position >= bytes.size(); }

    bool Peek(uint8_t& out) const {
        if (AtEnd()) return false;
        out = bytes[position];
        return true;
    }

    bool ReadU8(uint8_t& out) {
        if (!Peek(out)) return false;
        ++position;
        return true;
    }

    bool ReadU16(uint16_t& out) {
        if (Remaining() < 2) return false;
        out = static_cast<uint16_t>(bytes[position] << 8 | bytes[position + 1]);
        position += 2;
        return true;
    }

    bool ReadU32(uint32_t& out) {
        if (Remaining() < 4) return false;
        out = static_cast<uint32_t>(bytes[position]) << 24 | static_cast<uint32_t>(bytes[position + 1]) << 16 |
              static_cast<uint32_t>(bytes[position + 2]) << 8 | static_cast<uint32_t>(bytes[position + 3]);
        position += 4;
        return true;
    }

    // A variable-length quantity: 7 bits a byte, most significant first, the last byte below
    // 0x80. More than 4 bytes (over 28 bits) is malformed and fails, as does running out.
    bool ReadVarLen(uint32_t& out) {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t byte = 0;
            if (!ReadU8(byte)) return false;
            value = value << 7 | (byte & 0x7F);
            if (byte < 0x80) {
                out = value;
                return true;
            }
        }
        return false;
    }

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
