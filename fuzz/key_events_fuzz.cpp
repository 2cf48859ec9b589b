// Fuzz target: a test-play key file (outside bytes), read and then judged against a few notes,
// so every event the reader lets through is one the judge can take.

#include <cstdint>
#include <string>
#include <string_view>

#include "testplay/KeyEvents.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<KeyEvent> events;
    std::string error;
    if (!ReadKeyEvents(std::string_view(reinterpret_cast<const char*>(data), size), events, error)) return 0;
    Judge judge({{0, 0, std::nullopt, 0}, {100, 3, 600.0, 0}, {100, 6, std::nullopt, 0}}, 75, 5);
    JudgeRun(judge, events);
    return 0;
}
