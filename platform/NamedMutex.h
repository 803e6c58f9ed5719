#pragma once
// A name that exists exactly as long as its first creator lives: a lock file in the
// session runtime folder, held with flock until the process ends.
#include <string>

namespace platform {

constexpr unsigned long ERROR_ALREADY_EXISTS = 183;

class NamedMutex {
public:
    // Creates the name, or learns that another process holds it.
    explicit NamedMutex(const std::wstring& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // 183 when another process already holds the name, 0 when this one does, or the errno
    // of a failure to create it.
    unsigned long LastError() const { return m_nLastError; }
    // Why the name could not be created (empty when it was, or another process holds it).
    const std::string& ErrorText() const { return m_strError; }
    // Gives up ownership without giving up the name, which lives until this object or the
    // process ends.
    void ReleaseMutex() {}

private:
    int m_nFd = -1;
    unsigned long m_nLastError = 0;
    std::string m_strError;
};

}  // namespace platform
