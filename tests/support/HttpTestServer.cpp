#include "HttpTestServer.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

HttpTestServer::HttpTestServer(int port, int status, std::string body, bool silent)
    : m_nStatus(status), m_strBody(std::move(body)), m_bSilent(silent) {
    m_nListenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(m_nListenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(m_nListenFd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(m_nListenFd, 16) != 0) {
        close(m_nListenFd);
        m_nListenFd = -1;
        return;
    }
    m_thread = std::thread([this] { Serve(); });
}

std::unique_ptr<HttpTestServer> HttpTestServer::Raw(int port, std::string response, bool reset) {
    auto server = std::make_unique<HttpTestServer>(port, 0, std::string(), true);
    // The serving thread reads these only once a client has connected.
    server->m_strRaw = std::move(response);
    server->m_bReset = reset;
    server->m_bSilent = false;
    return server;
}

HttpTestServer::~HttpTestServer() {
    m_bStop = true;
    if (m_thread.joinable()) m_thread.join();
    for (const int client : m_silentClients) close(client);
    if (m_nListenFd >= 0) close(m_nListenFd);
}

std::vector<HttpTestServer::Request> HttpTestServer::Requests() {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void HttpTestServer::Serve() {
    while (!m_bStop) {
        pollfd entry{m_nListenFd, POLLIN, 0};
        if (poll(&entry, 1, 50) <= 0) continue;
        const int client = accept4(m_nListenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        if (m_bSilent.load()) {
            m_silentClients.push_back(client);
            continue;
        }
        Request request;
        std::string received;
        char buffer[4096];
        std::size_t headEnd = std::string::npos;
        std::size_t contentLength = 0;
        while (true) {
            pollfd wait{client, POLLIN, 0};
            if (poll(&wait, 1, 5000) <= 0) break;
            const ssize_t got = recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0) break;
            received.append(buffer, static_cast<std::size_t>(got));
            if (headEnd == std::string::npos && (headEnd = received.find("\r\n\r\n")) != std::string::npos) {
                const std::size_t length = received.find("Content-Length: ");
                if (length != std::string::npos && length < headEnd) contentLength = std::stoul(received.substr(length + 16));
            }
            if (headEnd != std::string::npos && received.size() >= headEnd + 4 + contentLength) break;
        }
        if (headEnd != std::string::npos) {
            request.head = received.substr(0, headEnd + 2);
            request.body = received.substr(headEnd + 4);
        }
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
        }
        const std::string response = !m_strRaw.empty() ? m_strRaw
                                                       : "HTTP/1.1 " + std::to_string(m_nStatus) + " Canned\r\nContent-Length: " +
                                                             std::to_string(m_strBody.size()) + "\r\nConnection: close\r\n\r\n" + m_strBody;
        send(client, response.data(), response.size(), MSG_NOSIGNAL);
        if (m_bReset) {
            const linger abort{1, 0};
            setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
        }
        close(client);
    }
}
