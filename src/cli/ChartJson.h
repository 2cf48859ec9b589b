#pragma once
// The chart as JSON, the form `ryxtool dump` prints (its schema is in the README).

#include <cstdint>
#include <nlohmann/json.hpp>

#include "chart/Chart.h"

nlohmann::json ChartToJson(const CChart& chart, std::uintmax_t midiBytes);

// JSON text of `value`; bytes of strings that are not valid UTF-8 show as U+FFFD.
std::string JsonText(const nlohmann::json& value);
