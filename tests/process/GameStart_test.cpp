// The real launcher starts the stand-in game client, installed in a folder of its own and
// found through its uninstall entry, as the platform's launches would.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"
#include "PublishedWindow.h"

#include "WindowMessaging.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

const std::string kBin = VK_BIN_DIR;

class GameStart : public ::testing::Test {
protected:
    // The game installed under a folder whose name holds a space and Chinese, as players have.
    void SetUp() override {
        m_strInstallRoot = m_environment.Root() + "/My Games 游戏";
        m_strInstallDir = m_strInstallRoot + "/vornakel";
        std::filesystem::create_directories(m_strInstallDir);
        std::filesystem::copy_file(kBin + "/vornakel", m_strInstallDir + "/vornakel");
        Register(m_strInstallDir + "/vornakel_main");
    }
    void TearDown() override {
        // The client was started for this test; it ends with it.
        if (const int pid = ClientPid(); pid > 0) kill(pid, SIGTERM);
    }
    void Register(const std::string& displayIcon) {
        ASSERT_EQ(RunToEnd(kBin + "/reg", {"add", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vornakel", "/v",
                                           "DisplayIcon", "/d", displayIcon, "/f"},
                           m_environment.Root()),
                  0);
    }
    // The stand-in client started from the install folder, by its executable.
    int ClientPid() const {
        DIR* proc = opendir("/proc");
        int found = 0;
        while (const dirent* entry = proc != nullptr ? readdir(proc) : nullptr) {
            char target[4096] = {};
            const std::string link = std::string("/proc/") + entry->d_name + "/exe";
            if (readlink(link.c_str(), target, sizeof(target) - 1) > 0 && target == m_strInstallDir + "/vornakel") {
                found = std::atoi(entry->d_name);
            }
        }
        if (proc != nullptr) closedir(proc);
        return found;
    }
    std::string Log() const {
        return ReadWholeFile(m_environment.LauncherLogPath());
    }
    std::unique_ptr<ChildProcess> StartGameManager() {
        auto manager = std::make_unique<ChildProcess>(kBin + "/tidewell-sim", std::vector<std::string>{"window", "--title", "GameMgr"},
                                                      m_environment.Root());
        EXPECT_TRUE(manager->WaitForOutput("hwnd=", 5000));
        m_strGameMgrId = manager->Stdout().substr(5, manager->Stdout().find('\n') - 5);
        return manager;
    }

    IsolatedEnvironment m_environment;
    std::string m_strInstallRoot;
    std::string m_strInstallDir;
    std::string m_strGameMgrId;
};

TEST_F(GameStart, TokenLoginStartsTheClientWithItsArgumentsAndTheLauncherLeaves) {
    const auto manager = StartGameManager();
    ChildProcess launcher(kBin + "/vornakel_main",
                          {"--source=TW", "--tokenLogin=1", "--token=令牌 and more", "--gameMgrId=" + m_strGameMgrId,
                           "--instGamePath=" + m_strInstallRoot, "--winid=1050"},
                          m_environment.Root());
    EXPECT_EQ(launcher.Wait(20000), 0);
    ASSERT_TRUE(launcher.WaitForOutput("game-client argv=", 5000)) << Log();
    EXPECT_NE(launcher.Stdout().find("game-client argv=[\"--source=TW\",\"--tokenLogin=1\",\"--token=令牌 and more\",\"--winid=" +
                                     m_strGameMgrId + "\",\"--instGamePath=" + m_strInstallRoot + "\"]\n"),
              std::string::npos)
        << launcher.Stdout();
    EXPECT_EQ(Log().find("OnShowMainWnd"), std::string::npos);  // no window was shown
    EXPECT_EQ(Log().find("LoadWeb"), std::string::npos);        // and no page loaded

    // Detached: a session of its own, and no descriptor of the launcher's.
    const int pid = ClientPid();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(getsid(pid), pid);
    std::vector<std::string> descriptors;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
        descriptors.push_back(entry.path().filename().string());
    }
    std::sort(descriptors.begin(), descriptors.end());
    EXPECT_EQ(descriptors, (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_FALSE(manager->WaitForOutput("msg=1347", 300));
}

TEST_F(GameStart, AnEmptyTokenStartsNothingAndLoadsNoPage) {
    ChildProcess launcher(kBin + "/vornakel_main", {"--source=TW", "--tokenLogin=1"}, m_environment.Root());
    for (int i = 0; i < 500 && Log().find("LoadGame start") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(ClientPid(), 0);
    EXPECT_TRUE(launcher.IsRunning());
    EXPECT_EQ(Log().find("LoadWeb"), std::string::npos);
    platform::PostMessageW(platform::FindWindowW(nullptr, L"Kaldrenmoor"), platform::WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher.Wait(10000), 0);
}

// A client that is not there, or that the system refuses to start, is reported to the
// game-manager window, and the launcher closes.
TEST_F(GameStart, AClientThatCannotBeStartedIsReportedToTheGameManager) {
    const std::string notExecutable = m_environment.Root() + "/broken/vornakel";
    std::filesystem::create_directories(m_environment.Root() + "/broken");
    WriteWholeFile(notExecutable, "not a program");
    chmod(notExecutable.c_str(), 0644);
    for (const std::string& displayIcon : {m_environment.Root() + "/empty/vornakel_main", m_environment.Root() + "/broken/vornakel_main",
                                           std::string("vornakel_main.exe")}) {
        Register(displayIcon);
        const auto manager = StartGameManager();
        ChildProcess launcher(kBin + "/vornakel_main", {"--source=TW", "--tokenLogin=1", "--token=t", "--gameMgrId=" + m_strGameMgrId},
                              m_environment.Root());
        EXPECT_EQ(launcher.Wait(20000), 0) << displayIcon;
        EXPECT_TRUE(manager->WaitForOutput("msg=1347 wparam=0 lparam=0\n", 5000)) << displayIcon << "\n" << Log();
        EXPECT_EQ(launcher.Stdout().find("game-client"), std::string::npos);
    }
    EXPECT_NE(Log().find("PathFileExists " + m_environment.Root() + "/empty/vornakel not exists"), std::string::npos) << Log();
    EXPECT_NE(Log().find("PathFileExists vornakel_main.exevornakel not exists"), std::string::npos) << Log();
}

// After the platform has unpacked the files, the game is registered and started from its
// install folder.
TEST_F(GameStart, UnpackedFilesAreRegisteredAndTheClientStartsFromTheInstallFolder) {
    RunToEnd(kBin + "/reg", {"delete", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vornakel", "/f"},
             m_environment.Root());
    RunToEnd(kBin + "/reg", {"add", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vornakel", "/v", "FileParam",
                             "/d", "bag-7", "/f"},
             m_environment.Root());
    ChildProcess launcher(kBin + "/vornakel_main", {"--source=QQ", "--token=t", "--instGamePath=" + m_strInstallRoot},
                          m_environment.Root());
    const platform::HWND hwnd = WaitForWindow(L"Kaldrenmoor");
    ASSERT_NE(hwnd, 0);
    platform::LRESULT answer = 0;
    ASSERT_TRUE(platform::SendMessageTimeoutW(hwnd, platform::WM_NULL, 0, 0, 10000, &answer));
    EXPECT_NE(Log().find("GetBagFileParam fileparam=bag-7"), std::string::npos);
    EXPECT_TRUE(platform::PostMessageW(hwnd, 1134, 0, 0));
    EXPECT_EQ(launcher.Wait(20000), 0);
    EXPECT_TRUE(launcher.WaitForOutput("game-client argv=", 5000)) << Log();
    EXPECT_GT(ClientPid(), 0);

    std::string key;
    EXPECT_EQ(RunToEnd(kBin + "/reg", {"query", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vornakel"},
                       m_environment.Root(), &key),
              0);
    EXPECT_NE(key.find("DisplayIcon    REG_SZ    " + m_strInstallDir + "/vornakel_main"), std::string::npos) << key;
    EXPECT_EQ(key.find("FileParam"), std::string::npos) << key;
    const std::string link = m_environment.Root() + "/home/Desktop/Kaldrenmoor.desktop";
    EXPECT_EQ(RunToEnd("/usr/bin/desktop-file-validate", {link}, m_environment.Root()), 0);
}

}  // namespace
