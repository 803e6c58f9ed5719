// What a process does when a window's layout cannot be built.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

namespace {

const std::string kHost = std::string(VK_BIN_DIR) + "/skinned-window-host";

TEST(SkinnedWindowProcess, AMissingLayoutShowsTheMessageAndEndsWithExitCode1) {
    IsolatedEnvironment environment;
    ChildProcess host(kHost, {"NoSuchLayout.xml"}, environment.Root());
    EXPECT_EQ(host.Wait(10000), 1);
    EXPECT_EQ(host.Stderr(), "NoSuchLayout.xml: 加载资源失败！\n");
    EXPECT_EQ(host.Stdout(), "");
}

TEST(SkinnedWindowProcess, ALayoutThatIsNotAWindowEndsTheSameWay) {
    IsolatedEnvironment environment;
    ChildProcess host(kHost, {"shadow.png"}, environment.Root());
    EXPECT_EQ(host.Wait(10000), 1);
    EXPECT_EQ(host.Stderr(), "shadow.png: 加载资源失败！\n");
}

TEST(SkinnedWindowProcess, AGoodLayoutBuilds) {
    IsolatedEnvironment environment;
    std::string output;
    EXPECT_EQ(RunToEnd(kHost, {"GameLoader.xml"}, environment.Root(), &output), 0);
    EXPECT_EQ(output, "created=1\n");
}

}  // namespace
