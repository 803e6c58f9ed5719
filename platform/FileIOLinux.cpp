#include "FileIO.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& out) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
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

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    struct stat existing {};
    const bool exists = stat(path.c_str(), &existing) == 0;
    if (exists && access(path.c_str(), W_OK) != 0) return false;

    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
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

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateDirectory(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

AppendOnlyFile::AppendOnlyFile(const std::string& path)
    : m_nFd(open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666)) {}

AppendOnlyFile::~AppendOnlyFile() {
    if (m_nFd >= 0) close(m_nFd);
}

bool AppendOnlyFile::Append(std::string_view bytes) const {
    if (m_nFd < 0) return false;
    ssize_t written;
    do {
        written = write(m_nFd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(bytes.size());
}

bool ProbeWritableFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    close(fd);
    unlink(path.c_str());
    return true;
}

}  // namespace platform
