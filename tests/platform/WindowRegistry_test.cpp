#include "WindowRegistry.h"

#include "IsolatedEnvironment.h"

#include "FileIO.h"

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

// A process that has ended, for records and temporaries left behind by a kill.
platform::ProcessIdentity EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return platform::ProcessIdentity{child, 12345};
}

std::string CounterPath() { return platform::WindowRegistry::Folder() + "/next-handle"; }

TEST(WindowRegistry, AnEmptiedCounterNeitherResetsNorRepeatsHandles) {
    IsolatedEnvironment environment;
    std::vector<platform::WindowRecord> live(5, RecordOf(L"Live"));
    for (platform::WindowRecord& record : live) ASSERT_NE(platform::WindowRegistry::Publish(record), 0);
    for (const std::string damaged : {"", "garbage", "-5", "99999999999999"}) {
        WriteWholeFile(CounterPath(), damaged);
        platform::WindowRecord record = RecordOf(L"After");
        ASSERT_NE(platform::WindowRegistry::Publish(record), 0) << damaged;
        for (const platform::WindowRecord& other : live) EXPECT_GT(record.hwnd, other.hwnd) << damaged;
        live.push_back(record);
    }
}

TEST(WindowRegistry, ACounterBehindLiveWindowsStepsOverThem) {
    IsolatedEnvironment environment;
    std::vector<platform::WindowRecord> live(100, RecordOf(L"Live"));
    for (platform::WindowRecord& record : live) ASSERT_NE(platform::WindowRegistry::Publish(record), 0);
    WriteWholeFile(CounterPath(), std::to_string(live.front().hwnd));
    platform::WindowRecord record = RecordOf(L"Next");
    ASSERT_EQ(platform::WindowRegistry::Publish(record), live.back().hwnd + 1);
    for (const platform::WindowRecord& other : live) EXPECT_EQ(platform::WindowRegistry::Lookup(other.hwnd)->title, L"Live");
}

TEST(WindowRegistry, RecordsOfEndedProcessesGiveTheirHandlesBack) {
    IsolatedEnvironment environment;
    platform::WindowRecord ghost = RecordOf(L"Ghost");
    ghost.owner = EndedProcess();
    std::vector<platform::HWND> ghosts;
    for (int i = 0; i < 200; ++i) {
        ASSERT_NE(platform::WindowRegistry::Publish(ghost), 0);
        ghosts.push_back(ghost.hwnd);
    }
    WriteWholeFile(platform::WindowRegistry::Folder() + "/" + std::to_string(ghosts.back() + 1), "not a record");
    WriteWholeFile(CounterPath(), std::to_string(ghosts.front()));
    platform::WindowRecord record = RecordOf(L"Alive");
    EXPECT_EQ(platform::WindowRegistry::Publish(record), ghosts.front());
    EXPECT_EQ(platform::WindowRegistry::Lookup(record.hwnd)->title, L"Alive");
    WriteWholeFile(CounterPath(), std::to_string(ghosts.back() + 1));
    EXPECT_EQ(platform::WindowRegistry::Publish(record), ghosts.back() + 1);  // a damaged record is reclaimed too
}

TEST(WindowRegistry, TemporariesOfKilledWritersAreCleanedByTheNextWriter) {
    IsolatedEnvironment environment;
    platform::WindowRecord first = RecordOf(L"First");
    ASSERT_NE(platform::WindowRegistry::Publish(first), 0);
    const platform::ProcessIdentity ended = EndedProcess();
    const std::string folder = platform::WindowRegistry::Folder();
    const std::string stale = folder + "/70000.tmp-" + std::to_string(ended.pid) + "-" + std::to_string(ended.startTime) + "-0";
    const std::string ours = platform::TemporaryPathFor(folder + "/70001");
    WriteWholeFile(stale, "pid=1\n");
    WriteWholeFile(ours, "pid=1\n");
    platform::WindowRecord second = RecordOf(L"Second");
    ASSERT_NE(platform::WindowRegistry::Publish(second), 0);
    EXPECT_NE(access(stale.c_str(), F_OK), 0);
    EXPECT_EQ(access(ours.c_str(), F_OK), 0);  // its writer still runs
}

}  // namespace
