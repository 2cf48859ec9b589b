#pragma once
// Song information as the games' text files can hold it.

#include <string>

// `text` on one line: line breaks and tabs become spaces.
std::string OneLine(const std::string& text);

// A number as the games' files write one: as short as it can be, at most 12 significant digits.
std::string DecimalText(double value);

// `text` as a single-quoted YAML scalar ('' for each ').
std::string YamlQuoted(const std::string& text);
