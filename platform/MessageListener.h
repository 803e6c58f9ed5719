#pragma once
// This process's message socket: accepts connections from processes of the same user and
// hands each decoded message to the window core. Internal to the window core.
#include "LocalSocket.h"
#include "MessageWire.h"

#include <functional>
#include <memory>
#include <string>

typedef struct _GMainContext GMainContext;

namespace platform {

class MessageListener {
public:
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
    static void CloseConnection(Connection* connection);

    GMainContext* m_pContext = nullptr;
    LocalSocket m_listenSocket;
    unsigned m_nSourceId = 0;
    std::string m_strSocketName;
    std::string m_strSocketPath;
    Handler m_handler;
};

}  // namespace platform
