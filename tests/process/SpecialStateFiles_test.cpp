// A FIFO (or any file that is not a regular file) where a state file belongs: the programs
// refuse it as they refuse a damaged file, and never wait on it.
#include "ChildProcess.h"
#include "HostileSweep.h"
#include "IsolatedEnvironment.h"
#include "PublishedWindow.h"

#include "WindowMessaging.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;

struct StateFileRow {
    const char* name;
    std::string (*path)(const IsolatedEnvironment&);
};

void PrintTo(const StateFileRow& row, std::ostream* out) { *out << row.name; }

const StateFileRow kLauncherFiles[] = {
    {"settings", [](const IsolatedEnvironment& e) { return e.DataHome() + "/Tidewell/setting.xml"; }},
    {"day_log", [](const IsolatedEnvironment& e) { return e.LauncherLogPath(); }},
    {"log_probe", [](const IsolatedEnvironment& e) { return e.DataHome() + "/Tidewell/Log/debug.txt"; }},
    {"handle_counter", [](const IsolatedEnvironment& e) { return e.RuntimeDir() + "/tidewell/windows/next-handle"; }},
    {"handle_lock", [](const IsolatedEnvironment& e) { return e.RuntimeDir() + "/tidewell/windows/next-handle.lock"; }},
    {"mutex", [](const IsolatedEnvironment& e) { return e.RuntimeDir() + "/tidewell/mutex-vornakel_main.exe.lock"; }},
};

// The session folders on the way stay private, as the session folder must be.
void MakeFifo(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    for (const char* folder : {"/run/tidewell", "/run/tidewell/windows"}) {
        const std::string session = path.substr(0, path.find("/run/")) + folder;
        if (path.find("/run/") != std::string::npos) chmod(session.c_str(), 0700);
    }
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
}

class LauncherStateFile : public ::testing::TestWithParam<StateFileRow> {};

TEST_P(LauncherStateFile, AFifoInItsPlaceNeverHangsTheLauncher) {
    IsolatedEnvironment environment;
    MakeFifo(GetParam().path(environment));
    ChildProcess launcher(kBin + "/vornakel_main", {"--source=TW", "--winid=1050", "--token=t"}, environment.Root());
    const platform::HWND hwnd = WaitForWindow(L"Kaldrenmoor");
    ASSERT_NE(hwnd, 0) << launcher.Stderr();
    EXPECT_TRUE(StillAnswers(hwnd));
    EXPECT_TRUE(platform::PostMessageW(hwnd, platform::WM_CLOSE, 0, 0));
    EXPECT_EQ(launcher.Wait(10000), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, LauncherStateFile, ::testing::ValuesIn(kLauncherFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryStateFile, AFifoInPlaceOfAHiveOrItsLockNeverHangsTheRegistry) {
    for (const char* name : {"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}) {
        IsolatedEnvironment environment;
        const std::string hive = environment.Root() + "/config/tidewell/" + name;
        MakeFifo(hive);
        const bool lockOnly = std::string(name).ends_with(".lock");
        EXPECT_EQ(RunToEnd(kBin + "/reg", {"add", "HKCU\\Software\\x", "/v", "a", "/d", "b", "/f"}, environment.Root()),
                  lockOnly ? 0 : 1)
            << name;
        EXPECT_EQ(RunToEnd(kBin + "/reg", {"query", "HKCU\\Software\\x"}, environment.Root()), lockOnly ? 0 : 1) << name;
    }
    IsolatedEnvironment environment;
    MakeFifo(environment.Root() + "/config-dirs/tidewell/HKEY_LOCAL_MACHINE.reg");
    MakeFifo(environment.Root() + "/config/tidewell/HKEY_CURRENT_USER.reg");
    EXPECT_EQ(RunToEnd(kBin + "/pagehost-host", {"--emulation=host.exe"}, environment.Root()), 0);
}

}  // namespace
