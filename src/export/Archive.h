#pragma once
// Zipping an export's folder into the archive a game imports (.osz, .qp), with libzip.

#include <filesystem>

#include "io/Status.h"

// Writes every file directly in `folder` into the zip archive `archive` (replaced if there);
// WriteArchive with libzip's reason.
Status ZipFolder(const std::filesystem::path& folder, const std::filesystem::path& archive);
