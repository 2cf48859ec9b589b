#pragma once
// Test-play's seven keys as the settings store them: key names separated by commas (TESTKEYS),
// a lane without a usable name taking its default (S D F Space J K L).

#include <QStringList>
#include <array>
#include <string>

// The seven names, one a lane.
QStringList TestKeyNames(const std::string& stored);
// The seven keys as Qt key codes.
std::array<int, 7> TestKeyCodes(const std::string& stored);
// The lane of `key`, or -1.
int LaneOfKey(const std::array<int, 7>& keys, int key);
