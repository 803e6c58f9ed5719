#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A one-thread HTTP server on 127.0.0.1 for tests: records each request and answers with a
// canned status and body, or, when silent, accepts and never answers.
class HttpTestServer {
public:
    struct Request {
        std::string head;  // request line and headers, as received
        std::string body;
    };

    HttpTestServer(int port, int status, std::string body, bool silent = false);
    // Answers every request with exactly these bytes, then closes the connection, with a
    // reset instead of an orderly close when `reset` is set.
    static std::unique_ptr<HttpTestServer> Raw(int port, std::string response, bool reset);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    bool IsListening() const { return m_nListenFd >= 0; }
    std::vector<Request> Requests();

private:
    void Serve();

    int m_nListenFd = -1;
    int m_nStatus;
    std::string m_strBody;
    std::atomic<bool> m_bSilent;
    std::string m_strRaw;
    bool m_bReset = false;
    std::atomic<bool> m_bStop{false};
    std::mutex m_mutex;
    std::vector<Request> m_requests;
    std::vector<int> m_silentClients;
    std::thread m_thread;
};
