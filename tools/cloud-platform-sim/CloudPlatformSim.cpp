// Stands in for the cloud platform's local client: serves the platform pipe and prints each
// message it receives, with its decoded text.
//
//   cloud-platform-sim pipe [--count N]   ends after N messages (default: on SIGINT/SIGTERM)
#include "TokenCodec.h"

#include "LocalSocket.h"
#include "SessionDir.h"
#include "Text.h"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;

int Usage() {
    std::fputs("usage: cloud-platform-sim pipe [--count N]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    platform::InitProcessLocale();
    if (argc < 2 || std::strcmp(argv[1], "pipe") != 0) return Usage();
    long remaining = -1;
    if (argc == 4 && std::strcmp(argv[2], "--count") == 0) {
        if (std::from_chars(argv[3], argv[3] + std::strlen(argv[3]), remaining).ec != std::errc()) return Usage();
    } else if (argc != 2) {
        return Usage();
    }
    std::signal(SIGINT, [](int) { g_stop = 1; });
    std::signal(SIGTERM, [](int) { g_stop = 1; });

    std::string error;
    const std::string session = platform::SessionRuntimeDir(&error);
    const platform::LocalSocket listener =
        session.empty() ? platform::LocalSocket() : platform::LocalSocket::Listen(session + "/VelmarGamePlatformPipeS2C", &error);
    if (!listener.IsValid()) {
        std::fprintf(stderr, "cloud-platform-sim: %s\n", error.c_str());
        return 1;
    }
    std::puts("listening");
    std::fflush(stdout);
    while (!g_stop && remaining != 0) {
        const platform::LocalSocket client = listener.AcceptSameUser();
        if (!client.IsValid()) {
            listener.WaitUntilReadable(platform::DeadlineAfter(200));
            continue;
        }
        std::string message;
        char buffer[4096];
        long got;
        while ((got = client.ReadSome(buffer, sizeof(buffer), platform::DeadlineAfter(5000))) > 0) {
            message.append(buffer, static_cast<std::size_t>(got));
        }
        std::printf("message=%s decoded=%s\n", message.c_str(), DecodeToken(message).c_str());
        std::fflush(stdout);
        if (remaining > 0) --remaining;
    }
    return 0;
}
