#include "FileKind.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "io/PathText.h"

FileKind KindOfFile(const std::filesystem::path& path) {
    std::string ext = PathText(path.extension());
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".mid" || ext == ".midi" || ext == ".rmi") return FileKind::Midi;
    if (ext == ".ryx") return FileKind::Chart;
    return FileKind::Other;
}
