#include "NamedMutex.h"

#include "FileIO.h"
#include "SessionDir.h"
#include "Text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {
namespace {

// A mutex name may hold any character; "/" cannot be part of a file name.
std::string LockFileName(const std::wstring& name) {
    std::string file = WideToUtf8(name);
    for (char& c : file) {
        if (c == '/') c = '_';
    }
    return "mutex-" + file + ".lock";
}

}  // namespace

NamedMutex::NamedMutex(const std::wstring& name) {
    const std::string dir = SessionRuntimeDir(&m_strError);
    if (dir.empty()) {
        m_nLastError = EACCES;
        return;
    }
    const std::string path = dir + "/" + LockFileName(name);
    m_nFd = OpenLockFile(path);
    if (m_nFd < 0) {
        m_nLastError = static_cast<unsigned long>(errno);
        m_strError = path + ": " + std::strerror(errno);
        return;
    }
    if (flock(m_nFd, LOCK_EX | LOCK_NB) != 0) {
        m_nLastError = errno == EWOULDBLOCK ? ERROR_ALREADY_EXISTS : static_cast<unsigned long>(errno);
        if (m_nLastError != ERROR_ALREADY_EXISTS) m_strError = path + ": " + std::strerror(errno);
        close(m_nFd);
        m_nFd = -1;
    }
}

NamedMutex::~NamedMutex() {
    if (m_nFd >= 0) close(m_nFd);
}

}  // namespace platform
