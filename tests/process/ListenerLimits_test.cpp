// Other processes flood a window's message socket: silent connections past the descriptor
// limit, and frames that are never finished. The receiver neither spins nor grows, and a
// well-behaved post still gets through.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include "LocalSocket.h"
#include "MessageWire.h"
#include "WindowMessaging.h"
#include "WindowRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

const std::string kSim = std::string(VK_BIN_DIR) + "/tidewell-sim";

// User and system CPU time the process has used, in seconds.
double CpuSeconds(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14 || index == 15) ticks += std::stol(field);
        if (index == 15) break;
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long ResidentKiB(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

class ListenerLimits : public ::testing::Test {
protected:
    platform::HWND StartWindow(std::vector<std::string> prefix = {}) {
        std::string program = kSim;
        if (!prefix.empty()) {
            program = prefix.front();
            prefix.erase(prefix.begin());
            prefix.push_back(kSim);
        }
        prefix.insert(prefix.end(), {"window", "--title", "Flooded"});
        m_window = std::make_unique<ChildProcess>(program, prefix, m_environment.Root());
        EXPECT_TRUE(m_window->WaitForOutput("hwnd=", 5000));
        return std::stoi(m_window->Stdout().substr(5));
    }
    std::string SocketPath(platform::HWND hwnd) const {
        return platform::MessageSocketPath(platform::WindowRegistry::Lookup(hwnd)->socketName);
    }
    std::vector<platform::LocalSocket> OpenSilentConnections(platform::HWND hwnd, int count) const {
        std::vector<platform::LocalSocket> held;
        for (int i = 0; i < count; ++i) {
            platform::LocalSocket socket = platform::LocalSocket::Connect(SocketPath(hwnd), platform::DeadlineAfter(2000));
            if (socket.IsValid()) held.push_back(std::move(socket));
        }
        return held;
    }
    IsolatedEnvironment m_environment;
    std::unique_ptr<ChildProcess> m_window;
};

TEST_F(ListenerLimits, OutOfDescriptorsTheReceiverNeitherSpinsNorLosesAWellBehavedPost) {
    const platform::HWND hwnd = StartWindow({"/usr/bin/prlimit", "--nofile=48:48", "--"});
    const int pid = platform::WindowRegistry::Lookup(hwnd)->owner.pid;
    const std::vector<platform::LocalSocket> held = OpenSilentConnections(hwnd, 300);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    const double before = CpuSeconds(pid);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_LT(CpuSeconds(pid) - before, 0.5) << "the receiver busies itself with connections it cannot take";

    EXPECT_TRUE(platform::PostMessageW(hwnd, 1348, 7, 0));
    EXPECT_TRUE(m_window->WaitForOutput("msg=1348 wparam=7 lparam=0\n", 5000)) << m_window->Stdout();
}

TEST_F(ListenerLimits, FramesThatAreNeverFinishedHoldBoundedMemory) {
    const platform::HWND hwnd = StartWindow();
    const int pid = platform::WindowRegistry::Lookup(hwnd)->owner.pid;
    const long before = ResidentKiB(pid);
    const auto unfinished = [&](std::size_t claimed, std::size_t sent) {
        platform::WireMessage wire;
        wire.delivery = platform::Delivery::Send;
        wire.hwnd = hwnd;
        wire.message = platform::WM_COPYDATA;
        wire.hasCopyData = true;
        wire.data.assign(claimed, 'x');
        return platform::EncodeMessage(wire).substr(0, platform::kMessageHeaderBytes + sent);
    };
    std::vector<platform::LocalSocket> held;
    // Frames far larger than any message, and many of the largest a message may be.
    for (const auto& [count, claimed, sent] : {std::tuple{20, std::size_t{8} << 20, std::size_t{4} << 20},
                                               std::tuple{60, std::size_t{60} << 10, std::size_t{50} << 10}}) {
        for (int i = 0; i < count; ++i) {
            platform::LocalSocket socket = platform::LocalSocket::Connect(SocketPath(hwnd), platform::DeadlineAfter(2000));
            ASSERT_TRUE(socket.IsValid());
            socket.WriteAll(unfinished(claimed, sent), platform::DeadlineAfter(2000));
            held.push_back(std::move(socket));
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_LT(ResidentKiB(pid) - before, 16 * 1024) << "KiB held for frames that never end";
    EXPECT_TRUE(platform::PostMessageW(hwnd, 1348, 8, 0));
    EXPECT_TRUE(m_window->WaitForOutput("msg=1348 wparam=8 lparam=0\n", 5000)) << m_window->Stdout();
}

}  // namespace
