#include "TestPlayKeys.h"

#include <QKeySequence>

#include "AppSettings.h"

QStringList TestKeyNames(const std::string& stored) {
    const QStringList defaults = QString(AppSettings::kDefaultTestKeys).split(',');
    QStringList names = QString::fromStdString(stored).split(',');
    for (int lane = 0; lane < 7; ++lane) {
        if (lane >= names.size()) names << defaults[lane];
        if (QKeySequence::fromString(names[lane].trimmed()).isEmpty()) names[lane] = defaults[lane];
        names[lane] = names[lane].trimmed();
    }
    return names.mid(0, 7);
}

std::array<int, 7> TestKeyCodes(const std::string& stored) {
    const QStringList names = TestKeyNames(stored);
    std::array<int, 7> keys{};
    for (int lane = 0; lane < 7; ++lane)
        keys[static_cast<std::size_t>(lane)] = QKeySequence::fromString(names[lane])[0].key();
    return keys;
}

int LaneOfKey(const std::array<int, 7>& keys, int key) {
    for (std::size_t lane = 0; lane < keys.size(); ++lane)
        if (keys[lane] == key) return static_cast<int>(lane);
    return -1;
}
