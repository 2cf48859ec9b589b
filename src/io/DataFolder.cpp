#include "DataFolder.h"

#include <cstdlib>
#include <system_error>

namespace {

std::filesystem::path ExecutableFolder(const char* argv0) {
    std::error_code error;
#ifdef __linux__
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
#endif
    return std::filesystem::absolute(argv0 ? argv0 : "", error).parent_path();
}

}  // namespace

std::filesystem::path DefaultDataFolder(const char* argv0) {
    if (const char* chosen = std::getenv("RYX_DATA_DIR"); chosen && *chosen) return chosen;
    const std::filesystem::path exe = ExecutableFolder(argv0);
    std::error_code error;
    for (const std::filesystem::path& candidate :
         {exe / "data", exe / ".." / "share" / "ryx-creator" / "data"}) {
        if (std::filesystem::is_directory(candidate / "common", error)) return candidate;
    }
    return RYX_SOURCE_DATA_DIR;
}
