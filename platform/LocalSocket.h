#pragma once
// Unix-domain stream sockets between processes of the same user, with every blocking step
// bounded by a deadline.
#include <chrono>
#include <string>
#include <string_view>

namespace platform {

using Deadline = std::chrono::steady_clock::time_point;

inline Deadline DeadlineAfter(int milliseconds) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

class LocalSocket {
public:
    LocalSocket() = default;
    explicit LocalSocket(int fd) : m_nFd(fd) {}
    ~LocalSocket();
    LocalSocket(LocalSocket&& other) noexcept : m_nFd(other.Release()) {}
    LocalSocket& operator=(LocalSocket&& other) noexcept;
    LocalSocket(const LocalSocket&) = delete;
    LocalSocket& operator=(const LocalSocket&) = delete;

    // Connects to the socket at path. Fails when nobody listens, when the deadline passes,
    // or when the listener belongs to another user.
    static LocalSocket Connect(const std::string& path, Deadline deadline, std::string* error = nullptr);
    // Listens at path (a stale socket file there is replaced); non-blocking.
    static LocalSocket Listen(const std::string& path, std::string* error = nullptr);

    bool IsValid() const { return m_nFd >= 0; }
    int Fd() const { return m_nFd; }
    int Release();

    // Writes all bytes before the deadline.
    bool WriteAll(std::string_view bytes, Deadline deadline) const;
    // Reads what is there, waiting until the deadline for something to arrive. Returns the
    // number of bytes (0 at end of stream) or -1 on failure or time-out.
    long ReadSome(char* buffer, std::size_t size, Deadline deadline) const;
    // Waits until something can be read (or a connection accepted); false on time-out.
    bool WaitUntilReadable(Deadline deadline) const;
    // Accepts one pending connection from a process of this user (non-blocking); others
    // are closed at once.
    LocalSocket AcceptSameUser() const;

private:
    int m_nFd = -1;
};

// True when the process at the other end runs as this user.
bool PeerIsSameUser(int fd);

}  // namespace platform
