#include "MessageListener.h"

#include "LocalSocket.h"
#include "SessionDir.h"

#include <cerrno>
#include <fcntl.h>
#include <glib-unix.h>
#include <glib.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

// A sender gets this long to deliver its whole frame; a stalled one is dropped.
constexpr unsigned kFrameTimeoutMs = 5000;
constexpr int kReplyTimeoutMs = 1000;
// Connections accepted per wake-up, so a flood cannot keep the loop from everything else.
constexpr int kAcceptsPerWakeup = 128;

int OpenSpare() { return open("/dev/null", O_RDONLY | O_CLOEXEC); }

}  // namespace

struct MessageListener::Connection {
    LocalSocket socket;
    std::string buffer;
    GSource* watch = nullptr;
    GSource* timeout = nullptr;
    std::list<Connection*>::iterator place;
    MessageListener* owner = nullptr;
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
    listener->m_nSpareFd = OpenSpare();

    GSource* source = g_unix_fd_source_new(listener->m_listenSocket.Fd(), G_IO_IN);
    g_source_set_callback(source, reinterpret_cast<GSourceFunc>(reinterpret_cast<void (*)()>(&MessageListener::OnAcceptReady)),
                          listener.get(), nullptr);
    listener->m_nSourceId = g_source_attach(source, context);
    g_source_unref(source);
    return listener;
}

MessageListener::~MessageListener() {
    while (!m_connections.empty()) Close(m_connections.front());
    if (GSource* source = g_main_context_find_source_by_id(m_pContext, m_nSourceId)) g_source_destroy(source);
    if (m_nSpareFd >= 0) close(m_nSpareFd);
    unlink(m_strSocketPath.c_str());
}

int MessageListener::OnAcceptReady(int, unsigned, void* self) {
    auto* listener = static_cast<MessageListener*>(self);
    for (int accepted = 0; accepted < kAcceptsPerWakeup; ++accepted) {
        LocalSocket peer = listener->m_listenSocket.AcceptSameUser();
        if (peer.IsValid()) {
            listener->Admit(std::move(peer));
            continue;
        }
        if (errno != EMFILE && errno != ENFILE) break;
        // Out of descriptors: the oldest waiting connection makes room. Without one, the
        // spare descriptor accepts the newcomer and closes it, so the socket stops being
        // ready instead of waking the loop again and again.
        if (!listener->m_connections.empty()) {
            listener->CloseOldest();
        } else if (listener->m_nSpareFd >= 0) {
            close(listener->m_nSpareFd);
            const int dropped = accept4(listener->m_listenSocket.Fd(), nullptr, nullptr, SOCK_CLOEXEC);
            if (dropped >= 0) close(dropped);
            listener->m_nSpareFd = OpenSpare();
        } else {
            break;
        }
    }
    return G_SOURCE_CONTINUE;
}

void MessageListener::Admit(LocalSocket peer) {
    auto* connection = new Connection();
    connection->owner = this;
    connection->socket = std::move(peer);
    // A well-behaved sender has written its frame before it is accepted: read it at once.
    if (!ReadFrom(*connection)) {
        Close(connection);
        return;
    }
    if (m_connections.size() >= kMaxConnections) CloseOldest();
    connection->place = m_connections.insert(m_connections.end(), connection);
    connection->watch = g_unix_fd_source_new(connection->socket.Fd(), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR));
    g_source_set_callback(connection->watch,
                          reinterpret_cast<GSourceFunc>(reinterpret_cast<void (*)()>(&MessageListener::OnConnectionReady)),
                          connection, nullptr);
    g_source_attach(connection->watch, m_pContext);
    connection->timeout = g_timeout_source_new(kFrameTimeoutMs);
    g_source_set_callback(connection->timeout, &MessageListener::OnConnectionTimeout, connection, nullptr);
    g_source_attach(connection->timeout, m_pContext);
}

bool MessageListener::ReadFrom(Connection& connection) {
    while (true) {
        char chunk[4096];
        const long got = connection.socket.ReadSome(chunk, sizeof(chunk), DeadlineAfter(0));
        if (got == 0) return false;  // the sender gave up before its frame was whole
        if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK;  // nothing more yet
        connection.buffer.append(chunk, static_cast<std::size_t>(got));
        m_nBufferedBytes += static_cast<std::size_t>(got);
        WireMessage message;
        switch (DecodeMessage(connection.buffer, message)) {
        case DecodeStatus::Incomplete:
            // All waiting frames together stay within their budget; the oldest make way.
            while (m_nBufferedBytes > kMaxBufferedBytes && !m_connections.empty() &&
                   m_connections.front() != &connection) {
                CloseOldest();
            }
            if (m_nBufferedBytes > kMaxBufferedBytes) return false;
            continue;
        case DecodeStatus::Invalid: return false;
        case DecodeStatus::Complete: {
            // The handler may run a nested loop: this connection leaves the waiting ones
            // first, so neither its own sources nor a newcomer's eviction can reach it.
            Detach(connection);
            const LRESULT result = m_handler(message);
            if (message.delivery == Delivery::Send) {
                connection.socket.WriteAll(EncodeReply(result), DeadlineAfter(kReplyTimeoutMs));
            }
            return false;
        }
        }
    }
}

void MessageListener::Detach(Connection& connection) {
    if (connection.watch != nullptr) {
        g_source_destroy(connection.watch);
        g_source_unref(connection.watch);
        g_source_destroy(connection.timeout);
        g_source_unref(connection.timeout);
        connection.watch = nullptr;
        connection.timeout = nullptr;
        m_connections.erase(connection.place);
    }
    m_nBufferedBytes -= connection.buffer.size();
    connection.buffer.clear();
}

void MessageListener::Close(Connection* connection) {
    Detach(*connection);
    delete connection;
}

void MessageListener::CloseOldest() { Close(m_connections.front()); }

int MessageListener::OnConnectionTimeout(void* data) {
    auto* connection = static_cast<Connection*>(data);
    connection->owner->Close(connection);
    return G_SOURCE_REMOVE;
}

int MessageListener::OnConnectionReady(int, unsigned, void* data) {
    auto* connection = static_cast<Connection*>(data);
    MessageListener* owner = connection->owner;
    if (owner->ReadFrom(*connection)) return G_SOURCE_CONTINUE;
    owner->Close(connection);
    return G_SOURCE_REMOVE;
}

}  // namespace platform
