#pragma once
// Bounded reading over a byte span, in either byte order: Standard MIDI Files store their
// numbers big-endian, chart files little-endian. Every read checks what is left first and
// fails, leaving the position where it was, rather than read past the end.

#include <cstdint>
#include <span>
#include <string>

enum class ByteOrder { BigEndian, LittleEndian };

template <ByteOrder Order>
class BoundedReader {
  public:
    explicit BoundedReader(std::span<const uint8_t> bytes) : bytes(bytes) {}

    std::size_t Remaining() const { return bytes.size() - position; }
    std::size_t Position() const { return position; }
    bool AtEnd() const { return position >= bytes.size(); }

    bool Skip(std::size_t n) {
        if (n > Remaining()) return false;
        position += n;
        return true;
    }

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
        uint32_t value = 0;
        if (!ReadNumber(2, value)) return false;
        out = static_cast<uint16_t>(value);
        return true;
    }

    bool ReadU32(uint32_t& out) { return ReadNumber(4, out); }

    // A variable-length quantity of a MIDI file: 7 bits a byte, most significant first, the
    // last byte below 0x80. More than 4 bytes (over 28 bits) is malformed and fails, as does
    // running out.
    bool ReadVarLen(uint32_t& out) {
        const std::size_t start = position;
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t byte = 0;
            if (!ReadU8(byte)) break;
            value = value << 7 | (byte & 0x7F);
            if (byte < 0x80) {
                out = value;
                return true;
            }
        }
        position = start;
        return false;
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
    bool ReadNumber(std::size_t size, uint32_t& out) {
        if (Remaining() < size) return false;
        uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t at = Order == ByteOrder::BigEndian ? i : size - 1 - i;
            value = value << 8 | bytes[position + at];
        }
        position += size;
        out = value;
        return true;
    }

    std::span<const uint8_t> bytes;
    std::size_t position = 0;
};

using BigEndianReader = BoundedReader<ByteOrder::BigEndian>;
using LittleEndianReader = BoundedReader<ByteOrder::LittleEndian>;
