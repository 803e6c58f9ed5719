#pragma once
// This process's message socket: accepts connections from processes of the same user and
// hands each decoded message to the window core. Internal to the window core.
//
// Other processes cannot make it hold more than it can afford: at most kMaxConnections
// connections wait for their frames at a time, together holding at most
// kMaxBufferedBytes; the oldest waiting connection makes way for a new one, and when the
// process runs out of descriptors the oldest is closed to accept the next.
#include "LocalSocket.h"
#include "MessageWire.h"

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>

typedef struct _GMainContext GMainContext;

namespace platform {

class MessageListener {
public:
    static constexpr std::size_t kMaxConnections = 64;
    static constexpr std::size_t kMaxBufferedBytes = 1u << 20;

    // Handles one decoded message; returns the result for a sent message.
    using Handler = std::function<LRESULT(const WireMessage&)>;

    // Listens at the session folder's socket of this process, served on `context`.
    static std::unique_ptr<MessageListener> Start(GMainContext* context, Handler handler, std::string* error);
    ~MessageListener();

    // The socket's file name in the session folder.
    const std::string& SocketName() const { return m_strSocketName; }

private:
    MessageListener() = default;
    struct Connection;
    static int OnAcceptReady(int fd, unsigned condition, void* self);
    static int OnConnectionReady(int fd, unsigned condition, void* connection);
    static int OnConnectionTimeout(void* connection);
    void Admit(LocalSocket peer);
    // Reads what has arrived; false when the connection is done (handled, broken or refused).
    bool ReadFrom(Connection& connection);
    // Takes the connection out of the waiting ones and gives back what it buffered.
    void Detach(Connection& connection);
    void Close(Connection* connection);
    void CloseOldest();

    GMainContext* m_pContext = nullptr;
    LocalSocket m_listenSocket;
    // Kept open so that one descriptor is always there to accept and close a connection.
    int m_nSpareFd = -1;
    unsigned m_nSourceId = 0;
    std::string m_strSocketName;
    std::string m_strSocketPath;
    Handler m_handler;
    std::list<Connection*> m_connections;  // oldest first
    std::size_t m_nBufferedBytes = 0;
};

}  // namespace platform
