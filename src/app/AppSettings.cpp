#include "AppSettings.h"

#include <optional>

#include "RegistryKey.h"
#include "io/PathText.h"
#include "playback/SoundFont.h"

namespace {

constexpr std::size_t kMaxAuthorChars = 19;

}  // namespace

AppSettings AppSettings::Read(const RegistryKey& key, const std::string& homeFolder) {
    AppSettings s;
    if (!key.Existed()) {
        s.lastPath = homeFolder;
        return s;
    }
    const auto stored = [&key](const char* name) -> std::optional<int32_t> {
        int32_t value = 0;
        return key.GetDword(name, value) ? std::optional(value) : std::nullopt;
    };
    static_cast<EditorSettings&>(s) = EditorSettings::Bounded(stored);
    key.GetString("LastPath", s.lastPath);
    key.GetString("TESTKEYS", s.testKeys);
    return s;
}

std::filesystem::path AppSettings::ChosenSoundFont(const RegistryKey& key) {
    std::string soundFont;
    if (!key.GetString("SOUNDFONT", soundFont) || soundFont.empty()) return DefaultSoundFont();
    return PathFromText(soundFont);
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
    key.SetDword("WINDOWH", windowHeight);
    key.SetDword("INTERVAL", interval);
    key.SetDword("FRAMESKIP", frameSkip);
    key.SetDword("SCROLL", scroll);
    key.SetDword("LONG", longLength);
    key.SetDword("GRID", beatLines ? 1 : 0);
    key.SetDword("CTRLZUNDO", ctrlZUndoes ? 1 : 0);
    key.SetDword("OFFSET", offsetMs);
    key.SetDword("METRONOME", metronome ? 1 : 0);
    key.SetString("TESTKEYS", testKeys);
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
