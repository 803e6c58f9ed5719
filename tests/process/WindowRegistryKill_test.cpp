// Writers of the window registry killed at random moments: the handle counter is never
// emptied, never goes back, and the next window still gets a handle.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include "WindowRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

TEST(WindowRegistryKill, KillsAtAnyMomentNeverLoseOrRepeatHandles) {
    IsolatedEnvironment environment;
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> delayUs(0, 3000);
    long long highest = 0;
    for (int round = 0; round < 150; ++round) {
        ChildProcess writer(std::string(VK_BIN_DIR) + "/publish-loop", {}, environment.Root());
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        writer.Kill();
        writer.Wait(5000);
        const std::string counter = ReadWholeFile(platform::WindowRegistry::Folder() + "/next-handle");
        if (counter.empty() && highest == 0) continue;  // killed before its first handle
        ASSERT_FALSE(counter.empty()) << "round " << round;
        const long long value = std::stoll(counter);
        EXPECT_GE(value, highest) << "round " << round;
        highest = value;
    }
    platform::WindowRecord record;
    record.owner = platform::CurrentProcessIdentity();
    record.socketName = "w-1.sock";
    record.title = L"After the kills";
    ASSERT_NE(platform::WindowRegistry::Publish(record), 0);
    EXPECT_GE(record.hwnd, highest);
}

}  // namespace
