#pragma once
// The current user's processes, found by the file name of the program each runs, and ended
// only when they are still the process that was found.
#include "ProcessIdentity.h"

#include <string>
#include <vector>

namespace platform {

struct ProcessEntry {
    ProcessIdentity identity;
    // The last component of the program the process runs, as a process list shows it.
    std::string executableName;
};

// The processes of this user, in the order of their ids; those of other users are not even
// looked at. Empty when the process table cannot be read.
std::vector<ProcessEntry> SnapshotProcesses();

// Ends the process with SIGKILL through a descriptor of the process itself, after checking
// that the id still names the process found (a recycled id is never hit). False, with the
// errno in `error`, when it cannot be done.
bool TerminateProcess(const ProcessIdentity& process, int* error = nullptr);

}  // namespace platform
