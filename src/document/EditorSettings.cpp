#include "EditorSettings.h"

EditorSettings EditorSettings::Bounded(const std::function<std::optional<int32_t>(const char*)>& stored) {
    // A stored value, or `fallback` when it is missing or fails `valid`.
    auto value = [&](const char* name, int32_t fallback, auto valid) {
        const std::optional<int32_t> v = stored(name);
        return v && valid(*v) ? *v : fallback;
    };
    auto upTo = [](int32_t bound) { return [bound](int32_t v) { return v <= bound; }; };
    auto within = [](int32_t low, int32_t high) { return [=](int32_t v) { return v >= low && v <= high; }; };
    const auto isSwitch = [](int32_t v) { return v == 0 || v == 1; };
    const EditorSettings d;
    EditorSettings s;
    // Whether a position lies on a screen only the window can tell.
    s.windowX = value("WINDOWX", d.windowX, upTo(800));
    s.windowY = value("WINDOWY", d.windowY, upTo(600));
    s.windowHeight = value("WINDOWH", d.windowHeight, within(0, 16384));
    s.toolX = value("TOOLX", d.toolX, upTo(800));
    s.toolY = value("TOOLY", d.toolY, upTo(600));
    s.interval = value("INTERVAL", d.interval, within(5, 15));
    s.frameSkip = value("FRAMESKIP", d.frameSkip, within(0, 80));
    s.scroll = value("SCROLL", d.scroll, within(50, 150));
    s.longLength = value("LONG", d.longLength, [](int32_t v) { return v == 192 || v == 384 || v == 768; });
    s.beatLines = value("GRID", 0, isSwitch) == 1;
    s.ctrlZUndoes = value("CTRLZUNDO", 1, isSwitch) == 1;
    s.offsetMs = value("OFFSET", d.offsetMs, within(-300, 300));
    s.metronome = value("METRONOME", 0, isSwitch) == 1;
    return s;
}
