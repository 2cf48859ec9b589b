#include "Process.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

uint64_t CurrentProcessId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<uint64_t>(getpid());
#endif
}

bool ProcessIsRunning(uint64_t id) {
#ifdef _WIN32
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    if (id == 0 || id > static_cast<uint64_t>(INT32_MAX)) return false;
    return kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
#endif
}

bool LeftByEndedProcess(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return false;
    const std::string_view rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 18) return false;
    uint64_t id = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9') return false;
        id = id * 10 + static_cast<uint64_t>(c - '0');
    }
    return id != CurrentProcessId() && !ProcessIsRunning(id);
}
