#pragma once
// Paths as text: UTF-8 on every system, for messages and for paths kept as text.

#include <filesystem>
#include <string>

std::string PathText(const std::filesystem::path& path);

// The path named by UTF-8 `text`.
std::filesystem::path PathFromText(const std::string& text);
