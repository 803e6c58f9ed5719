#include "ProcessIdentity.h"

#include "FileIO.h"

#include <cstdlib>
#include <unistd.h>

namespace platform {
namespace {

// Field 22 of /proc/PID/stat, counted after the command name, which may itself hold
// spaces and parentheses.
std::uint64_t StartTimeOf(int pid) {
    std::string stat;
    if (!ReadFileBounded("/proc/" + std::to_string(pid) + "/stat", 4096, stat)) return 0;
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    std::size_t position = close + 1;
    for (int field = 3; field <= 22; ++field) {
        position = stat.find_first_not_of(' ', position);
        if (position == std::string::npos) return 0;
        if (field == 22) return std::strtoull(stat.c_str() + position, nullptr, 10);
        position = stat.find(' ', position);
        if (position == std::string::npos) return 0;
    }
    return 0;
}

}  // namespace

ProcessIdentity CurrentProcessIdentity() {
    static const ProcessIdentity self{getpid(), StartTimeOf(getpid())};
    return self;
}

ProcessIdentity IdentityOf(int pid) { return ProcessIdentity{pid, pid > 0 ? StartTimeOf(pid) : 0}; }

bool IsProcessAlive(const ProcessIdentity& process) {
    return process.pid > 0 && process.startTime != 0 && StartTimeOf(process.pid) == process.startTime;
}

}  // namespace platform
