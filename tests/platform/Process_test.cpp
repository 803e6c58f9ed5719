#include "Process.h"

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

// The state letter of /proc/PID/stat, or 0 once the process is gone for good.
char ProcessState(int pid) {
    const std::string stat = ReadWholeFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t end = stat.rfind(')');
    return end == std::string::npos || end + 2 >= stat.size() ? 0 : stat[end + 2];
}

// A program that ends while its starter still runs is reaped: it never lingers as a zombie.
TEST(SpawnDetached, AProgramThatEndsIsReapedAndRunsInASessionOfItsOwn) {
    IsolatedEnvironment environment;
    const std::string report = environment.Root() + "/report";
    std::string error;
    ASSERT_TRUE(platform::SpawnDetached(
        "/bin/sh",
        {"-c", "set -- $(cat /proc/$$/stat | sed 's/.*) //'); echo $$ $4 > \"$0.tmp\"; mv \"$0.tmp\" \"$0\"", report},
        &error))
        << error;
    for (int i = 0; i < 500 && !std::filesystem::exists(report); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    int pid = 0, session = 0;
    ASSERT_EQ(std::sscanf(ReadWholeFile(report).c_str(), "%d %d", &pid, &session), 2) << ReadWholeFile(report);
    EXPECT_EQ(session, pid);
    char state = ProcessState(pid);
    for (int i = 0; i < 500 && state != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        state = ProcessState(pid);
    }
    EXPECT_EQ(state, 0) << "still there in state " << state;
}

TEST(SpawnDetached, AMissingProgramFailsWithTheSystemsReason) {
    std::string error;
    EXPECT_FALSE(platform::SpawnDetached("/nonexistent/vornakel", {}, &error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

}  // namespace
