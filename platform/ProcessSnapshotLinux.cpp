#include "ProcessSnapshot.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {
namespace {

// The program's file name: the target of /proc/PID/exe after its last "/", without the
// " (deleted)" the kernel adds for a program that was replaced while it runs.
std::string ExecutableNameOf(int pid) {
    char target[PATH_MAX];
    const ssize_t length = readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), target, sizeof(target) - 1);
    if (length <= 0) return {};
    std::string path(target, static_cast<std::size_t>(length));
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

std::vector<ProcessEntry> SnapshotProcesses() {
    std::vector<ProcessEntry> processes;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return processes;
    const uid_t self = getuid();
    while (const dirent* entry = readdir(proc)) {
        int pid = 0;
        const std::string_view name(entry->d_name);
        if (std::from_chars(name.data(), name.data() + name.size(), pid).ptr != name.data() + name.size() || pid <= 0) continue;
        struct stat info {};
        if (fstatat(dirfd(proc), entry->d_name, &info, 0) != 0 || info.st_uid != self) continue;
        ProcessEntry process;
        process.executableName = ExecutableNameOf(pid);
        // Its start time makes the identity: read now, checked again before any kill.
        process.identity = IdentityOf(pid);
        if (process.executableName.empty() || process.identity.startTime == 0) continue;
        processes.push_back(process);
    }
    closedir(proc);
    std::sort(processes.begin(), processes.end(),
              [](const ProcessEntry& a, const ProcessEntry& b) { return a.identity.pid < b.identity.pid; });
    return processes;
}

bool TerminateProcess(const ProcessIdentity& process, int* error) {
    const auto fail = [&](int code) {
        if (error != nullptr) *error = code;
        return false;
    };
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, process.pid, 0));
    if (pidfd < 0) return fail(errno);
    // The descriptor holds the process that has the id now; it must be the one found.
    if (!IsProcessAlive(process)) {
        close(pidfd);
        return fail(ESRCH);
    }
    const bool sent = syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0) == 0;
    const int code = errno;
    close(pidfd);
    return sent || fail(code);
}

}  // namespace platform
