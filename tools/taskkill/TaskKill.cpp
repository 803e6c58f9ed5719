// Ends programs by name, as the launcher's clean-up asks when it cannot end a game client
// itself. Shipped beside the launcher, which runs only this one.
//   taskkill /f /im NAME
// Ends every process of the current user whose program has the file name NAME (compared
// exactly), each through a descriptor of the process found. Exit code 0 when it found any,
// 128 when there was none, 2 for a command it does not know.
#include "ProcessSnapshot.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], "/f") != 0 || std::strcmp(argv[2], "/im") != 0) {
        std::fputs("usage: taskkill /f /im NAME\n", stderr);
        return 2;
    }
    bool found = false;
    for (const platform::ProcessEntry& process : platform::SnapshotProcesses()) {
        if (process.executableName != argv[3] || process.identity.pid == getpid()) continue;
        found = true;
        int error = 0;
        if (platform::TerminateProcess(process.identity, &error)) {
            std::printf("SUCCESS: the process \"%s\" with PID %d has been terminated.\n", argv[3], process.identity.pid);
        } else {
            std::fprintf(stderr, "ERROR: the process \"%s\" with PID %d could not be terminated: %s\n", argv[3],
                         process.identity.pid, std::strerror(error));
        }
    }
    if (!found) std::fprintf(stderr, "ERROR: the process \"%s\" not found.\n", argv[3]);
    return found ? 0 : 128;
}
