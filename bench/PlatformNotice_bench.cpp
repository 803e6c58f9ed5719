// The platform notice delivered to a platform window in another process and waited for,
// beside its floor: the same 528 bytes sent over a socket pair and answered by a thread.
#include "IsolatedBenchEnvironment.h"
#include "PlatformNotice.h"
#include "WindowMessaging.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

// tidewell-sim's platform window, its lines going to a file so it never waits on a reader.
class PlatformWindowProcess {
public:
    explicit PlatformWindowProcess(const std::string& outputPath) {
        const std::string program = std::string(VK_BIN_DIR) + "/tidewell-sim";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        char* arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>("window"), nullptr};
        if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, arguments, environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        for (int attempt = 0; attempt < 500 && m_pid > 0 && m_handle.empty(); ++attempt) {
            std::ifstream in(outputPath);
            std::string line;
            if (std::getline(in, line) && line.rfind("hwnd=", 0) == 0) m_handle = line.substr(5);
            if (m_handle.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~PlatformWindowProcess() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    const std::string& Handle() const { return m_handle; }

private:
    pid_t m_pid = -1;
    std::string m_handle;
};

// Runs the measured loop against a platform window in another process, given its handle text.
template <typename Loop>
void AgainstPlatformWindow(benchmark::State& state, Loop loop) {
    IsolatedBenchEnvironment environment;
    const std::string output = std::filesystem::temp_directory_path() / ("vk-bench-window-" + std::to_string(getpid()));
    {
        PlatformWindowProcess window(output);
        if (window.Handle().empty()) {
            state.SkipWithError("tidewell-sim did not start");
        } else {
            loop(window.Handle());
        }
    }
    std::filesystem::remove(output);
}

void BM_NotifyPlatformWindowInAnotherProcess(benchmark::State& state) {
    AgainstPlatformWindow(state, [&](const std::string& text) {
        const std::wstring handle(text.begin(), text.end());
        for (auto _ : state) NotifyPlatformWindow(handle);
    });
}
BENCHMARK(BM_NotifyPlatformWindowInAnotherProcess)->UseRealTime();

// A post to a window of another process: handed over, not waited for.
void BM_PostToWindowInAnotherProcess(benchmark::State& state) {
    AgainstPlatformWindow(state, [&](const std::string& text) {
        const platform::HWND hwnd = std::stoi(text);
        for (auto _ : state) benchmark::DoNotOptimize(platform::PostMessageW(hwnd, platform::WM_NULL, 0, 0));
    });
}
BENCHMARK(BM_PostToWindowInAnotherProcess)->UseRealTime();

void BM_SocketPairRoundTrip528Bytes(benchmark::State& state) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) {
        state.SkipWithError("socketpair");
        return;
    }
    std::thread answerer([fd = ends[1]] {
        unsigned char record[kPlatformNoticeBytes];
        for (;;) {
            std::size_t have = 0;
            while (have < sizeof(record)) {
                const ssize_t got = read(fd, record + have, sizeof(record) - have);
                if (got <= 0) return;
                have += static_cast<std::size_t>(got);
            }
            const unsigned char answer = 1;
            if (write(fd, &answer, 1) != 1) return;
        }
    });
    const auto record = PlatformNotice();
    for (auto _ : state) {
        if (write(ends[0], record.data(), record.size()) != static_cast<ssize_t>(record.size())) break;
        unsigned char answer = 0;
        if (read(ends[0], &answer, 1) != 1) break;
    }
    close(ends[0]);
    answerer.join();
    close(ends[1]);
}
BENCHMARK(BM_SocketPairRoundTrip528Bytes)->UseRealTime();

}  // namespace
