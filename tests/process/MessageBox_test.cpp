// The launcher's message box on a real X server, over a launcher window, driven with the
// pointer and the desktop's close as a player would.
#include "DesktopSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;

class DesktopMsgBox : public ::testing::Test {
protected:
    // The box up over its owner; its place on the screen.
    std::pair<int, int> Open() {
        m_host = std::make_unique<ChildProcess>(kBin + "/msgbox-host", std::vector<std::string>{"释放文件出错"},
                                                m_session.Environment().Root(), true);
        EXPECT_TRUE(m_session.WaitForShownWindow("CustomMsgBox"));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // drawn and placed
        m_strBox = m_session.ShownWindow("CustomMsgBox");
        return m_session.WindowPosition(m_strBox);
    }
    void Click(int x, int y) {
        m_session.Xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.2", "click", "1"});
    }
    // The desktop's close, as a window manager sends it for Alt+F4.
    int DesktopClose() {
        ChildProcess close(kBin + "/x-close", {m_strBox}, m_session.Environment().Root(), true);
        return close.Wait(10000);
    }
    std::string Closed() {
        EXPECT_TRUE(m_host->WaitForOutput("result=", 10000)) << m_host->Stdout() << m_host->Stderr();
        EXPECT_EQ(m_host->Wait(10000), 0);
        const std::string out = m_host->Stdout();
        return out.substr(out.find("result="));
    }

    DesktopSession m_session;
    std::unique_ptr<ChildProcess> m_host;
    std::string m_strBox;
};

TEST_F(DesktopMsgBox, OkGivesOneAndClosesTheOwner) {
    const auto [x, y] = Open();
    Click(x + 220, y + 224);
    EXPECT_EQ(Closed(), "result=1 owner=closed\n");
}

TEST_F(DesktopMsgBox, TheCrossGivesEightAndClosesTheOwner) {
    const auto [x, y] = Open();
    Click(x + 420, y + 20);
    EXPECT_EQ(Closed(), "result=8 owner=closed\n");
}

TEST_F(DesktopMsgBox, TheDesktopsCloseGivesZeroAndLeavesTheOwner) {
    Open();
    EXPECT_EQ(DesktopClose(), 0);
    EXPECT_EQ(Closed(), "result=0 owner=open\n");
}

// A click on the owner beside the box: the box moves a pixel up and left and back, and rests
// where it was.
TEST_F(DesktopMsgBox, AClickOnTheOwnerShakesTheBoxAndItEndsWhereItStarted) {
    const auto [x, y] = Open();
    ASSERT_TRUE(m_host->WaitForOutput("box-at=" + std::to_string(x) + "," + std::to_string(y) + "\n", 5000))
        << m_host->Stdout();
    Click(x - 100, y);
    EXPECT_TRUE(m_host->WaitForOutput("box-at=" + std::to_string(x - 1) + "," + std::to_string(y - 1) + "\n", 5000))
        << m_host->Stdout();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_EQ(m_session.WindowPosition(m_strBox), std::make_pair(x, y));
    const std::string out = m_host->Stdout();
    EXPECT_EQ(out.substr(out.rfind("box-at=")), "box-at=" + std::to_string(x) + "," + std::to_string(y) + "\n");
    EXPECT_EQ(DesktopClose(), 0);
    EXPECT_EQ(Closed(), "result=0 owner=open\n");
}

}  // namespace
