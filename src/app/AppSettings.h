#pragma once
// The settings of the main window, read at start-up and written at shut-down: the editor's
// settings (bounded by the core on reading) and the folder the file dialogs start in.

#include <cstdint>
#include <filesystem>
#include <string>

#include "document/EditorSettings.h"

class RegistryKey;

struct AppSettings : EditorSettings {
    std::string lastPath;  // LastPath: folder the file dialogs open in
    // TESTKEYS: test-play's keys for lanes 0..6, as key names separated by commas.
    std::string testKeys = kDefaultTestKeys;
    static constexpr const char* kDefaultTestKeys = "S,D,F,Space,J,K,L";

    // The stored values when the settings existed, through EditorSettings::Bounded. Without
    // stored settings every default applies and the last path is `homeFolder`.
    static AppSettings Read(const RegistryKey& key, const std::string& homeFolder);

    // The SoundFont to play and render with: the SOUNDFONT setting, else RYX_SOUNDFONT, else the
    // system's.
    static std::filesystem::path ChosenSoundFont(const RegistryKey& key);

    // The author name stored for new charts ("RYXER"): "Unknown" when no settings existed,
    // empty when they existed without it; at most 19 characters.
    static std::string StoredAuthor(const RegistryKey& key);

    // Shut-down: the window position and the view settings; the author when `author` is not
    // empty (cut to 19 characters); the last path, or `homeFolder` when there is none. The
    // palette's position is written by WritePalettePosition.
    void WriteAtShutDown(RegistryKey& key, const std::string& author, const std::string& homeFolder) const;
    void WritePalettePosition(RegistryKey& key) const;
};
