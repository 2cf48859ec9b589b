#pragma once
// This process's identity, and whether another process still runs, so that files a killed
// run left behind can be told from those of a copy that is still running.

#include <cstdint>

uint64_t CurrentProcessId();

// False only when the system says no process has this id; true when unsure.
bool ProcessIsRunning(uint64_t id);

#include <string_view>

// True when `name` reads "<prefix><id>-<anything>" and process `id` is neither this process
// nor running: a file or folder that a run left behind when it was killed.
bool LeftByEndedProcess(std::string_view name, std::string_view prefix);
