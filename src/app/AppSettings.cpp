#include "AppSettings.h"

#include "RegistryKey.h"

namespace {

constexpr std::size_t kMaxAuthorChars = 19;

// A stored value, or `fallback` when it is missing or fails `valid`.
template <typename Valid>
int32_t Stored(const RegistryKey& key, const char* name, int32_t fallback, Valid valid) {
    int32_t value = fallback;
    return key.GetDword(name, value) && valid(value) ? value : fallback;
}

int32_t Position(const RegistryKey& key, const char* name, int32_t fallback, int32_t upperBound) {
    return Stored(key, name, fallback, [&](int32_t v) { return v <= upperBound; });
}

int32_t InRange(const RegistryKey& key, const char* name, int32_t fallback, int32_t low, int32_t high) {
    return Stored(key, name, fallback, [&](int32_t v) { return v >= low && v <= high; });
}

}  // namespace

AppSettings AppSettings::Read(const RegistryKey& key, const std::string& homeFolder) {
    AppSettings s;
    if (!key.Existed()) {
        s.lastPath = homeFolder;
        return s;
    }
    s.windowX = Position(key, "WINDOWX", 10, 800);
    s.windowY = Position(key, "WINDOWY", 10, 600);
    s.toolX = Position(key, "TOOLX", 600, 800);
    s.toolY = Position(key, "TOOLY", 10, 600);
    // A damaged file must never give a zero or negative step, so the Options dialog's ranges
    // are the bounds.
    s.interval = InRange(key, "INTERVAL", 10, 5, 15);
    s.frameSkip = InRange(key, "FRAMESKIP", 40, 0, 80);
    s.scroll = InRange(key, "SCROLL", 100, 50, 150);
    s.longLength = Stored(key, "LONG", 768, [](int32_t v) { return v == 192 || v == 384 || v == 768; });
    const auto isSwitch = [](int32_t v) { return v == 0 || v == 1; };
    s.beatLines = Stored(key, "GRID", 0, isSwitch) == 1;
    s.ctrlZUndoes = Stored(key, "CTRLZUNDO", 1, isSwitch) == 1;
    key.GetString("LastPath", s.lastPath);
    return s;
}

std::string AppSettings::StoredAuthor(const RegistryKey& key) {
    if (!key.Existed()) return "Unknown";
    std::string author;
    key.GetString("RYXER", author);
    return author.substr(0, kMaxAuthorChars);
}

void AppSettings::WriteAtShutDown(RegistryKey& key, const std::string& author,
                                  const std::string& homeFolder) const {
    key.SetDword("WINDOWX", windowX);
    key.SetDword("WINDOWY", windowY);
    key.SetDword("INTERVAL", interval);
    key.SetDword("FRAMESKIP", frameSkip);
    key.SetDword("SCROLL", scroll);
    key.SetDword("LONG", longLength);
    key.SetDword("GRID", beatLines ? 1 : 0);
    key.SetDword("CTRLZUNDO", ctrlZUndoes ? 1 : 0);
    if (!author.empty()) key.SetString("RYXER", author.substr(0, kMaxAuthorChars));
    // The folder last used stays for the next run; the user's home folder only when none was.
    key.SetString("LastPath", lastPath.empty() ? homeFolder : lastPath);
    key.Sync();
}

void AppSettings::WritePalettePosition(RegistryKey& key) const {
    key.SetDword("TOOLX", toolX);
    key.SetDword("TOOLY", toolY);
    key.Sync();
}
