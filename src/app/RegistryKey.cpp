#include "RegistryKey.h"

#include <QSettings>

RegistryKey::RegistryKey()
    : settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "FENWOLT",
                                           "RYXTOOL10")) {
    // The settings existed when something was stored before (a file on Linux and macOS, a
    // registry key on Windows).
    existed = !settings->allKeys().isEmpty();
}

RegistryKey::~RegistryKey() = default;

bool RegistryKey::GetDword(const char* name, int32_t& out) const {
    const QVariant value = settings->value(name);
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!value.isValid() || !ok || number < INT32_MIN || number > INT32_MAX) return false;
    out = static_cast<int32_t>(number);
    return true;
}

bool RegistryKey::GetString(const char* name, std::string& out) const {
    const QVariant value = settings->value(name);
    if (!value.isValid()) return false;
    out = value.toString().toStdString();
    return true;
}

void RegistryKey::SetDword(const char* name, int32_t value) {
    settings->setValue(name, value);
}

void RegistryKey::SetString(const char* name, const std::string& text) {
    settings->setValue(name, QString::fromStdString(text));
}

void RegistryKey::Sync() {
    settings->sync();
}
