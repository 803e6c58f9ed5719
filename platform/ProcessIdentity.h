#pragma once
#include <cstdint>

namespace platform {

// A process named so that a recycled process id never matches: the id and the moment it
// started.
struct ProcessIdentity {
    int pid = 0;
    std::uint64_t startTime = 0;

    bool operator==(const ProcessIdentity&) const = default;
};

ProcessIdentity CurrentProcessIdentity();
// The process that has the id now (start time 0 when there is none).
ProcessIdentity IdentityOf(int pid);
// True when that very process still runs.
bool IsProcessAlive(const ProcessIdentity& process);

}  // namespace platform
