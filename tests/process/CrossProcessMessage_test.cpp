// Messages between processes of the session, through the platform stand-in.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include "WindowMessaging.h"

#include <gtest/gtest.h>

namespace {

const std::string kSim = std::string(VK_BIN_DIR) + "/tidewell-sim";

class CrossProcess : public ::testing::Test {
protected:
    platform::HWND StartWindow(const std::string& title) {
        m_window = std::make_unique<ChildProcess>(kSim, std::vector<std::string>{"window", "--title", title},
                                                  m_environment.Root());
        EXPECT_TRUE(m_window->WaitForOutput("hwnd=", 5000));
        return std::stoi(m_window->Stdout().substr(5));
    }
    IsolatedEnvironment m_environment;
    std::unique_ptr<ChildProcess> m_window;
};

TEST_F(CrossProcess, CopyDataDeliversTheExactBytes) {
    const platform::HWND hwnd = StartWindow("平台窗口");
    std::string notice(528, '\0');
    notice[0] = 1;
    notice[4] = '1';
    notice[524] = 1;
    platform::COPYDATASTRUCT copy{1, static_cast<std::uint32_t>(notice.size()), notice.data()};
    EXPECT_EQ(platform::SendMessageW(hwnd, platform::WM_COPYDATA, 0, reinterpret_cast<platform::LPARAM>(&copy)), 1);

    std::string hex = "0100000031" + std::string(1038, '0') + "01000000";
    EXPECT_TRUE(m_window->WaitForOutput("msg=74 wparam=0 copydata tag=1 len=528 hex=" + hex + "\n", 5000))
        << m_window->Stdout();
}

TEST_F(CrossProcess, FindPostAndCloseThroughTheCommandLine) {
    const platform::HWND hwnd = StartWindow("Tidewell 客户端");
    std::string found;
    EXPECT_EQ(RunToEnd(kSim, {"find", "Tidewell 客户端"}, m_environment.Root(), &found), 0);
    EXPECT_EQ(found, std::to_string(hwnd) + "\n");
    EXPECT_EQ(RunToEnd(kSim, {"find", "Tidewell"}, m_environment.Root()), 1);

    EXPECT_TRUE(platform::PostMessageW(hwnd, 1348, 0, 0));
    EXPECT_EQ(RunToEnd(kSim, {"post", std::to_string(hwnd), "1347", "7", "-3"}, m_environment.Root()), 0);
    EXPECT_TRUE(m_window->WaitForOutput("msg=1348 wparam=0 lparam=0\nmsg=1347 wparam=7 lparam=-3\n", 5000))
        << m_window->Stdout();

    EXPECT_EQ(RunToEnd(kSim, {"post", std::to_string(hwnd), "16"}, m_environment.Root()), 0);
    EXPECT_EQ(m_window->Wait(5000), 0);
    EXPECT_EQ(RunToEnd(kSim, {"post", std::to_string(hwnd), "16"}, m_environment.Root()), 1);
    EXPECT_FALSE(platform::IsWindow(hwnd));
}

TEST_F(CrossProcess, TerminationSignalEndsTheWindowCleanly) {
    const platform::HWND hwnd = StartWindow("Tidewell");
    m_window->Terminate();
    EXPECT_EQ(m_window->Wait(5000), 0);
    EXPECT_FALSE(platform::IsWindow(hwnd));
}

TEST_F(CrossProcess, BadCommandLinesAreRefused) {
    EXPECT_EQ(RunToEnd(kSim, {}, m_environment.Root()), 2);
    EXPECT_EQ(RunToEnd(kSim, {"post", "abc", "16"}, m_environment.Root()), 2);
    EXPECT_EQ(RunToEnd(kSim, {"post", "99999", "16"}, m_environment.Root()), 1);
}

}  // namespace
