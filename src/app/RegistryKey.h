#pragma once
// RegistryKey: the program's settings, kept per user in an INI file through QSettings
// (organisation "FENWOLT", application "RYXTOOL10": $XDG_CONFIG_HOME/FENWOLT/RYXTOOL10.conf on
// Linux, the registry under HKEY_CURRENT_USER on Windows). Used on the user-interface thread.

#include <cstdint>
#include <memory>
#include <string>

class QSettings;

class RegistryKey {
  public:
    RegistryKey();
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // True when settings were stored before this object was made.
    bool Existed() const { return existed; }

    // Read a value into `out`; false (and `out` unchanged) when it is missing or not of its kind.
    bool GetDword(const char* name, int32_t& out) const;
    bool GetString(const char* name, std::string& out) const;
    void SetDword(const char* name, int32_t value);
    void SetString(const char* name, const std::string& text);
    // Writes what was set to the file.
    void Sync();

  private:
    std::unique_ptr<QSettings> settings;
    bool existed = false;
};
