#include "FileIO.h"

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class FileIO : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return m_environment.Root() + "/" + name; }
    IsolatedEnvironment m_environment;
};

// Each of these would wait forever for a writer or a reader if the file were opened as is.
TEST_F(FileIO, SpecialFilesInPlaceOfStateFilesAreRefusedWithoutWaiting) {
    const std::string fifo = PathOf("setting.xml");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string content = "kept";
    EXPECT_FALSE(platform::ReadFileBounded(fifo, 1024, content));
    EXPECT_EQ(content, "kept");
    EXPECT_FALSE(platform::AppendOnlyFile(fifo).IsOpen());
    EXPECT_FALSE(platform::WriteFileAtomically(fifo, [](std::FILE*) { return true; }));
    EXPECT_FALSE(platform::ProbeWritableFile(fifo));
    struct stat info {};
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));  // left as it was

    EXPECT_FALSE(platform::ReadFileBounded("/dev/zero", 1024, content));
    EXPECT_FALSE(platform::ReadFileBounded(m_environment.Root(), 1024, content));
    EXPECT_LT(platform::OpenRegularFile(fifo, 0), 0);
}

TEST_F(FileIO, TemporariesOfEndedWritersAreRemovedByTheNextWrite) {
    const std::string path = PathOf("setting.xml");
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string stale = path + ".tmp-" + std::to_string(child) + "-1-0";
    const std::string live = platform::TemporaryPathFor(path);
    const std::string unrelated = PathOf("setting.xml.bak");
    for (const std::string& file : {stale, live, unrelated}) WriteWholeFile(file, "x");

    ASSERT_TRUE(platform::WriteFileAtomically(path, [](std::FILE* file) { return std::fputs("<settings />\n", file) >= 0; }));
    EXPECT_EQ(ReadWholeFile(path), "<settings />\n");
    EXPECT_NE(access(stale.c_str(), F_OK), 0);
    EXPECT_EQ(access(live.c_str(), F_OK), 0);
    EXPECT_EQ(access(unrelated.c_str(), F_OK), 0);
}

}  // namespace
