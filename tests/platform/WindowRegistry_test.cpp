#include "WindowRegistry.h"

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

platform::WindowRecord RecordOf(const std::wstring& title, bool topLevel = true) {
    platform::WindowRecord record;
    record.owner = platform::CurrentProcessIdentity();
    record.socketName = "w-1.sock";
    record.topLevel = topLevel;
    record.className = L"Test";
    record.title = title;
    return record;
}

TEST(WindowRegistry, RecordTextRoundTripsAwkwardTitles) {
    platform::WindowRecord record = RecordOf(L"线\\n\n\r title=x");
    const auto parsed = platform::ParseWindowRecord(7, platform::SerializeWindowRecord(record));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->title, record.title);
    EXPECT_EQ(parsed->owner, record.owner);
    EXPECT_EQ(parsed->socketName, record.socketName);
}

TEST(WindowRegistry, BrokenRecordsAreRejected) {
    for (const char* text : {"", "pid=1\n", "pid=x\nstart=1\nsocket=s\n", "pid=1\nstart=1\nsocket=../s\n",
                             "pid=1\nstart=1\nsocket=s", "pid=1\nstart=1\nsocket=s\ntitle=\\q\n"}) {
        EXPECT_FALSE(platform::ParseWindowRecord(1, text).has_value()) << text;
    }
}

TEST(WindowRegistry, FindsNewestTopLevelByExactTitle) {
    IsolatedEnvironment environment;
    platform::WindowRecord older = RecordOf(L"Kaldrenmoor");
    platform::WindowRecord newer = RecordOf(L"Kaldrenmoor");
    platform::WindowRecord child = RecordOf(L"Kaldrenmoor", false);
    platform::WindowRecord other = RecordOf(L"Kaldrenmoor ");
    for (platform::WindowRecord* record : {&older, &newer, &child, &other}) {
        ASSERT_NE(platform::WindowRegistry::Publish(*record), 0);
    }
    EXPECT_LT(older.hwnd, newer.hwnd);
    EXPECT_EQ(platform::WindowRegistry::FindTopLevel(nullptr, L"Kaldrenmoor"), newer.hwnd);
    const std::wstring wrongClass = L"Other";
    EXPECT_EQ(platform::WindowRegistry::FindTopLevel(&wrongClass, L"Kaldrenmoor"), 0);
    platform::WindowRegistry::Remove(newer.hwnd);
    EXPECT_EQ(platform::WindowRegistry::FindTopLevel(nullptr, L"Kaldrenmoor"), older.hwnd);
}

TEST(WindowRegistry, RecordsOfEndedProcessesAreNotFoundAndRemoved) {
    IsolatedEnvironment environment;
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    platform::WindowRecord record = RecordOf(L"Ghost");
    record.owner.pid = child;
    ASSERT_NE(platform::WindowRegistry::Publish(record), 0);
    EXPECT_FALSE(platform::WindowRegistry::Lookup(record.hwnd).has_value());
    EXPECT_EQ(platform::WindowRegistry::FindTopLevel(nullptr, L"Ghost"), 0);
    EXPECT_EQ(access((platform::WindowRegistry::Folder() + "/" + std::to_string(record.hwnd)).c_str(), F_OK), -1);
}

}  // namespace
