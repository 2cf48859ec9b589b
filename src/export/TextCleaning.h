#pragma once
// Song information as the games' text files can hold it.

#include <string>

// `text` on one line: line breaks and tabs become spaces.
std::string OneLine(const std::string& text);

// `text` as a single-quoted YAML scalar ('' for each ').
std::string YamlQuoted(const std::string& text);
