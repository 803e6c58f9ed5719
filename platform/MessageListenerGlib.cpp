#include "MessageListener.h"

#include "LocalSocket.h"
#include "SessionDir.h"

#include <glib-unix.h>
#include <glib.h>
#include <unistd.h>

namespace platform {
namespace {

// A sender gets this long to deliver its whole frame; a stalled one is dropped.
constexpr unsigned kFrameTimeoutMs = 5000;
constexpr int kReplyTimeoutMs = 1000;

}  // namespace

struct MessageListener::Connection {
    MessageListener* owner = nullptr;
    LocalSocket socket;
    std::string buffer;
    GSource* watch = nullptr;
    GSource* timeout = nullptr;
};

std::unique_ptr<MessageListener> MessageListener::Start(GMainContext* context, Handler handler, std::string* error) {
    const std::string session = SessionRuntimeDir(error);
    if (session.empty()) return nullptr;
    std::unique_ptr<MessageListener> listener(new MessageListener());
    listener->m_pContext = context;
    listener->m_handler = std::move(handler);
    listener->m_strSocketName = "w-" + std::to_string(getpid()) + ".sock";
    listener->m_strSocketPath = session + "/" + listener->m_strSocketName;
    listener->m_listenSocket = LocalSocket::Listen(listener->m_strSocketPath, error);
    if (!listener->m_listenSocket.IsValid()) return nullptr;

    GSource* source = g_unix_fd_source_new(listener->m_listenSocket.Fd(), G_IO_IN);
    g_source_set_callback(source, reinterpret_cast<GSourceFunc>(reinterpret_cast<void (*)()>(&MessageListener::OnAcceptReady)),
                          listener.get(), nullptr);
    listener->m_nSourceId = g_source_attach(source, context);
    g_source_unref(source);
    return listener;
}

MessageListener::~MessageListener() {
    if (GSource* source = g_main_context_find_source_by_id(m_pContext, m_nSourceId)) g_source_destroy(source);
    unlink(m_strSocketPath.c_str());
}

int MessageListener::OnAcceptReady(int fd, unsigned condition, void* self) {
    auto* listener = static_cast<MessageListener*>(self);
    while (true) {
        LocalSocket peer = listener->m_listenSocket.AcceptSameUser();
        if (!peer.IsValid()) break;
        auto* connection = new Connection();
        connection->owner = listener;
        const int peerFd = peer.Fd();
        connection->socket = std::move(peer);
        connection->watch = g_unix_fd_source_new(peerFd, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR));
        g_source_set_callback(connection->watch,
                              reinterpret_cast<GSourceFunc>(reinterpret_cast<void (*)()>(&MessageListener::OnConnectionReady)),
                              connection, nullptr);
        g_source_attach(connection->watch, listener->m_pContext);
        connection->timeout = g_timeout_source_new(kFrameTimeoutMs);
        g_source_set_callback(connection->timeout, &MessageListener::OnConnectionTimeout, connection, nullptr);
        g_source_attach(connection->timeout, listener->m_pContext);
    }
    return G_SOURCE_CONTINUE;
}

void MessageListener::CloseConnection(Connection* connection) {
    g_source_destroy(connection->watch);
    g_source_unref(connection->watch);
    g_source_destroy(connection->timeout);
    g_source_unref(connection->timeout);
    delete connection;
}

int MessageListener::OnConnectionTimeout(void* data) {
    CloseConnection(static_cast<Connection*>(data));
    return G_SOURCE_REMOVE;
}

int MessageListener::OnConnectionReady(int fd, unsigned condition, void* data) {
    auto* connection = static_cast<Connection*>(data);
    char chunk[4096];
    const long got = connection->socket.ReadSome(chunk, sizeof(chunk), DeadlineAfter(0));
    if (got <= 0) {
        CloseConnection(connection);
        return G_SOURCE_REMOVE;
    }
    connection->buffer.append(chunk, static_cast<std::size_t>(got));
    WireMessage message;
    switch (DecodeMessage(connection->buffer, message)) {
    case DecodeStatus::Incomplete: return G_SOURCE_CONTINUE;
    case DecodeStatus::Invalid: break;
    case DecodeStatus::Complete: {
        // The handler may run a nested loop; keep this connection's sources out of it.
        g_source_destroy(connection->watch);
        g_source_destroy(connection->timeout);
        const LRESULT result = connection->owner->m_handler(message);
        if (message.delivery == Delivery::Send) {
            connection->socket.WriteAll(EncodeReply(result), DeadlineAfter(kReplyTimeoutMs));
        }
        break;
    }
    }
    CloseConnection(connection);
    return G_SOURCE_REMOVE;
}

}  // namespace platform
