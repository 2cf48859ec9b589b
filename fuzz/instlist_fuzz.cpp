// Fuzz target: the instrument list reader over any text.

#include <cstdint>
#include <span>

#include "midi_import/MidiInfoManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMidiInfoManager list =
        CMidiInfoManager::Parse(std::span<const char>(reinterpret_cast<const char*>(data), size));
    if (list.codes.size() != CMidiInfoManager::kEntries || list.names.size() != CMidiInfoManager::kEntries)
        __builtin_trap();
    list.NameOf(0);
    return 0;
}
