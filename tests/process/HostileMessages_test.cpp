// Another process of the session writes crafted message frames to the launcher's window.
// Messages from outside are data: none of them may crash the launcher or stop its loop.
#include "ChildProcess.h"
#include "HostileSweep.h"
#include "IsolatedEnvironment.h"
#include "PublishedWindow.h"

#include "WindowMessaging.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;

// Messages that close the launcher or end the user's game clients by their meaning.
const std::set<platform::UINT> kLauncherClosingMessages = {platform::WM_CLOSE, platform::WM_SYSCOMMAND, 1130, 1134,
                                                           1135, 1137};

TEST(HostileMessages, EveryMessageNumberFromAnotherProcessLeavesTheLauncherServing) {
    IsolatedEnvironment environment;
    ChildProcess launcher(kBin + "/vornakel_main", {"--source=TW", "--token=t"}, environment.Root());
    const platform::HWND hwnd = WaitForWindow(L"Kaldrenmoor");
    ASSERT_NE(hwnd, 0);

    EXPECT_EQ(SendHostileFrames(hwnd, kLauncherClosingMessages), 0);
    EXPECT_TRUE(launcher.IsRunning()) << launcher.Stderr();
    EXPECT_TRUE(StillAnswers(hwnd));
    EXPECT_TRUE(platform::PostMessageW(hwnd, platform::WM_CLOSE, 0, 0));
    EXPECT_EQ(launcher.Wait(10000), 0);
}

}  // namespace
