#pragma once
// Little-endian writing into a growing byte buffer.

#include <cstdint>
#include <string_view>
#include <vector>

class ByteWriter {
  public:
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) { StoreU32(Extend(4), v); }
    void Zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
    void Bytes(std::string_view s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
    void Reserve(std::size_t n) { bytes.reserve(n); }

    // Appends n bytes and returns where they start, for callers that fill fixed-size records
    // in place.
    uint8_t* Extend(std::size_t n) {
        bytes.resize(bytes.size() + n);
        return bytes.data() + bytes.size() - n;
    }

    // Stores `v` little-endian at `at`, which must have room for 4 bytes.
    static void StoreU32(uint8_t* at, uint32_t v) {
        for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
    }

    std::vector<uint8_t>& Data() { return bytes; }
    const std::vector<uint8_t>& Data() const { return bytes; }

  private:
    std::vector<uint8_t> bytes;
};
