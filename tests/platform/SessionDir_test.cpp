#include "SessionDir.h"

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(SessionDir, CreatedPrivateAndReused) {
    IsolatedEnvironment environment;
    std::string error;
    const std::string dir = platform::SessionRuntimeDir(&error);
    ASSERT_EQ(dir, environment.RuntimeDir() + "/tidewell") << error;
    struct stat info {};
    ASSERT_EQ(stat(dir.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(platform::SessionRuntimeDir(), dir);
}

TEST(SessionDir, RefusesAFolderOthersCanReachOrALink) {
    IsolatedEnvironment environment;
    const std::string dir = environment.RuntimeDir() + "/tidewell";
    mkdir(dir.c_str(), 0755);
    chmod(dir.c_str(), 0755);
    std::string error;
    EXPECT_EQ(platform::SessionRuntimeDir(&error), "");
    EXPECT_NE(error.find("open to other users"), std::string::npos);

    rmdir(dir.c_str());
    const std::string elsewhere = environment.Root() + "/elsewhere";
    mkdir(elsewhere.c_str(), 0700);
    ASSERT_EQ(symlink(elsewhere.c_str(), dir.c_str()), 0);
    EXPECT_EQ(platform::SessionRuntimeDir(&error), "");
    EXPECT_NE(error.find("not a directory"), std::string::npos);
}

}  // namespace
