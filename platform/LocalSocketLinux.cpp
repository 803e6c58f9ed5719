#include "LocalSocket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

int RemainingMs(Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

// Waits for the events before the deadline; false on time-out or error.
bool WaitFor(int fd, short events, Deadline deadline) {
    while (true) {
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, RemainingMs(deadline));
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return false;
    }
}

bool FillAddress(const std::string& path, sockaddr_un& address, std::string* error) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        if (error != nullptr) *error = path + ": socket path too long";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void SetError(std::string* error, const std::string& what) {
    if (error != nullptr) *error = what + ": " + std::strerror(errno);
}

// A non-blocking stream socket, with the address of path filled in.
LocalSocket NewSocketFor(const std::string& path, sockaddr_un& address, std::string* error) {
    if (!FillAddress(path, address, error)) return {};
    LocalSocket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.IsValid()) SetError(error, "socket");
    return socket;
}

}  // namespace

LocalSocket::~LocalSocket() {
    if (m_nFd >= 0) close(m_nFd);
}

LocalSocket& LocalSocket::operator=(LocalSocket&& other) noexcept {
    if (this != &other) {
        if (m_nFd >= 0) close(m_nFd);
        m_nFd = other.Release();
    }
    return *this;
}

int LocalSocket::Release() {
    const int fd = m_nFd;
    m_nFd = -1;
    return fd;
}

bool PeerIsSameUser(int fd) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 && credentials.uid == getuid();
}

LocalSocket LocalSocket::Connect(const std::string& path, Deadline deadline, std::string* error) {
    sockaddr_un address;
    LocalSocket socket = NewSocketFor(path, address, error);
    if (!socket.IsValid()) return {};
    // A listener whose backlog is full refuses a non-blocking connect with EAGAIN; nothing
    // is in progress then, so the connect is tried again until the deadline.
    int connected;
    while ((connected = connect(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), sizeof(address))) != 0 &&
           (errno == EAGAIN || errno == EINTR) && RemainingMs(deadline) > 0) {
        poll(nullptr, 0, 1);
    }
    if (connected != 0) {
        if (errno != EINPROGRESS) {
            SetError(error, path);
            return {};
        }
        int pending = 0;
        socklen_t length = sizeof(pending);
        if (!WaitFor(socket.Fd(), POLLOUT, deadline) ||
            getsockopt(socket.Fd(), SOL_SOCKET, SO_ERROR, &pending, &length) != 0 || pending != 0) {
            errno = pending != 0 ? pending : ETIMEDOUT;
            SetError(error, path);
            return {};
        }
    }
    if (!PeerIsSameUser(socket.Fd())) {
        if (error != nullptr) *error = path + ": listener belongs to another user";
        return {};
    }
    return socket;
}

LocalSocket LocalSocket::Listen(const std::string& path, std::string* error) {
    sockaddr_un address;
    LocalSocket socket = NewSocketFor(path, address, error);
    if (!socket.IsValid()) return {};
    unlink(path.c_str());
    if (bind(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(socket.Fd(), SOMAXCONN) != 0) {
        SetError(error, path);
        return {};
    }
    return socket;
}

bool LocalSocket::WriteAll(std::string_view bytes, Deadline deadline) const {
    while (!bytes.empty()) {
        const ssize_t written = send(m_nFd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        } else if (written < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!WaitFor(m_nFd, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

long LocalSocket::ReadSome(char* buffer, std::size_t size, Deadline deadline) const {
    while (true) {
        const ssize_t got = recv(m_nFd, buffer, size, MSG_DONTWAIT);
        if (got >= 0) return got;
        if (errno != EAGAIN && errno != EINTR) return -1;
        if (!WaitFor(m_nFd, POLLIN, deadline)) return -1;
    }
}

bool LocalSocket::WaitUntilReadable(Deadline deadline) const { return WaitFor(m_nFd, POLLIN, deadline); }

LocalSocket LocalSocket::AcceptSameUser() const {
    while (true) {
        LocalSocket peer(accept4(m_nFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!peer.IsValid()) return {};
        if (PeerIsSameUser(peer.Fd())) return peer;
    }
}

}  // namespace platform
