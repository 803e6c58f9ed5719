#include "FileIO.h"

#include "ProcessIdentity.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <charconv>

namespace platform {
namespace {

constexpr std::string_view kTemporaryMarker = ".tmp-";

// "<pid>-<start time>-..." after the marker: the process that wrote the temporary.
bool ParseTemporaryOwner(std::string_view rest, ProcessIdentity& owner) {
    const char* end = rest.data() + rest.size();
    auto [afterPid, pidError] = std::from_chars(rest.data(), end, owner.pid);
    if (pidError != std::errc() || afterPid == end || *afterPid != '-') return false;
    auto [afterStart, startError] = std::from_chars(afterPid + 1, end, owner.startTime);
    return startError == std::errc() && afterStart != end && *afterStart == '-';
}

}  // namespace

int OpenRegularFile(const std::string& path, int flags, unsigned mode) {
    const int fd = open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int OpenLockFile(const std::string& path) {
    int fd = OpenRegularFile(path, O_RDWR | O_CREAT, 0600);
    if (fd < 0 && errno == EINVAL && unlink(path.c_str()) == 0) fd = OpenRegularFile(path, O_RDWR | O_CREAT, 0600);
    return fd;
}

bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& out) {
    const int fd = OpenRegularFile(path, O_RDONLY);
    if (fd < 0) return false;
    std::string data;
    char buffer[8192];
    bool ok = true;
    while (true) {
        const ssize_t got = read(fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0) break;
        if (data.size() + static_cast<std::size_t>(got) > maxBytes) {
            ok = false;
            break;
        }
        data.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    if (ok) out = std::move(data);
    return ok;
}

std::string TemporaryPathFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const ProcessIdentity self = CurrentProcessIdentity();
    return path + std::string(kTemporaryMarker) + std::to_string(self.pid) + "-" + std::to_string(self.startTime) +
           "-" + std::to_string(counter++);
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1));
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (!name.starts_with(prefix)) continue;
        const std::size_t marker = name.find(kTemporaryMarker, prefix.size());
        if (marker == std::string_view::npos || (!prefix.empty() && marker != prefix.size())) continue;
        ProcessIdentity owner;
        if (!ParseTemporaryOwner(name.substr(marker + kTemporaryMarker.size()), owner)) continue;
        if (!IsProcessAlive(owner)) unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    struct stat existing {};
    const bool exists = stat(path.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || access(path.c_str(), W_OK) != 0)) return false;

    RemoveStaleTemporaries(path);
    const std::string temporary = TemporaryPathFor(path);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    if (exists) fchmod(fd, existing.st_mode & 07777);
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
        unlink(temporary.c_str());
        return false;
    }
    bool ok = write(file);
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok) ok = rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temporary.c_str());
    return ok;
}

bool PathFileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool DeleteFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateDirectory(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

AppendOnlyFile::AppendOnlyFile(const std::string& path)
    : m_nFd(OpenRegularFile(path, O_WRONLY | O_CREAT | O_APPEND, 0666)) {}

AppendOnlyFile::~AppendOnlyFile() {
    if (m_nFd >= 0) close(m_nFd);
}

bool AppendOnlyFile::Append(std::string_view bytes) const {
    if (m_nFd < 0) return false;
    ssize_t written;
    do {
        written = ::write(m_nFd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(bytes.size());
}

bool ProbeWritableFile(const std::string& path) {
    const int fd = OpenRegularFile(path, O_RDWR | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return false;
    close(fd);
    unlink(path.c_str());
    return true;
}

}  // namespace platform
