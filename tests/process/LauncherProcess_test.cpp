// Starts the real launcher as the platform would, in an isolated home and session.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"
#include "PublishedWindow.h"

#include "WindowMessaging.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <regex>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;

class Launcher : public ::testing::Test {
protected:
    std::string LogPath() const { return m_environment.LauncherLogPath(); }
    std::string Log() const { return ReadWholeFile(LogPath()); }
    bool WaitForLog(const std::string& text, int timeoutMs = 10000) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Log().find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments) {
        return std::make_unique<ChildProcess>(kBin + "/vornakel_main", arguments, m_environment.Root());
    }
    // The launcher window's handle once it exists; empty on time-out.
    std::string WaitForLauncherWindow() const {
        for (int attempt = 0; attempt < 500; ++attempt) {
            std::string output;
            if (RunToEnd(kBin + "/tidewell-sim", {"find", "Kaldrenmoor"}, m_environment.Root(), &output) == 0) {
                return output.substr(0, output.find('\n'));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {};
    }
    int Post(const std::string& hwnd, const std::string& message) const {
        return RunToEnd(kBin + "/tidewell-sim", {"post", hwnd, message}, m_environment.Root());
    }

    IsolatedEnvironment m_environment;
};

TEST_F(Launcher, StartWithOptionsLogsEveryStepAndRecordsThePlatformWindow) {
    ChildProcess platformWindow(kBin + "/tidewell-sim", {"window"}, m_environment.Root());
    ASSERT_TRUE(platformWindow.WaitForOutput("hwnd=", 5000));
    const std::string out = platformWindow.Stdout();
    const std::string winid = out.substr(5, out.find('\n') - 5);

    auto launcher = Start({"--source=TW", "--winid=" + winid, "--token=秘密token"});
    const std::string hwnd = WaitForLauncherWindow();
    ASSERT_FALSE(hwnd.empty());
    // Once the window answers, its creation and initialisation are over.
    platform::LRESULT answer = 0;
    ASSERT_TRUE(platform::SendMessageTimeoutW(std::stoi(hwnd), platform::WM_NULL, 0, 0, 10000, &answer));
    ASSERT_TRUE(WaitForLog("m_strCmdJson is:"));

    const std::string log = Log();
    const std::regex line(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.[ \d]{2}\d \[[^<\]]+<\d+>[^\]]+\] : .*)");
    std::size_t lines = 0;
    for (std::size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos; start = end + 1, ++lines) {
        EXPECT_TRUE(std::regex_match(log.substr(start, end - start), line)) << log.substr(start, end - start);
    }
    EXPECT_GE(lines, 7u);
    for (const std::string& expected : std::vector<std::string>{
             "[Main.cpp<", "wWinMain] : Logger::initializePathDir:" + m_environment.DataHome() + "/Tidewell/Log/",
          "wWinMain] : CreateMutex not ERROR_ALREADY_EXISTS:vornakel_main.exe",
          "ParseCmdParam] : CommandLineToArgvW argCount:1 szArgList:--source=TW",
          "szArgList:--token=<redacted, 7 chars>",
          "GameLoaderWnd::ParseCmdJson] : m_strCmdJson is:{\"source\":\"TW\",\"token\":\"<redacted, "}) {
        EXPECT_NE(log.find(expected), std::string::npos) << expected << "\n" << log;
    }
    EXPECT_NE(log.find("\",\"winid\":\"" + winid + "\"}\\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("秘密"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(m_environment.DataHome() + "/Tidewell/setting.xml"),
              "<settings>\n    <twwindowid>" + winid + "</twwindowid>\n    <loginsource>TW</loginsource>\n</settings>\n");

    EXPECT_EQ(Post(hwnd, "16"), 0);
    EXPECT_EQ(launcher->Wait(10000), 0);
}

TEST_F(Launcher, SecondStartRaisesTheFirstAndExitsWithoutAWindow) {
    auto first = Start({"--source=TW", "--winid=1050", "--token=t"});
    const std::string hwnd = WaitForLauncherWindow();
    ASSERT_FALSE(hwnd.empty());

    auto second = Start({"{\"type\":1}"});
    EXPECT_EQ(second->Wait(10000), 0);
    ASSERT_TRUE(WaitForLog("OnShowMainWnd enter"));
    const std::string log = Log();
    EXPECT_NE(log.find("wWinMain] : CreateMutex ERROR_ALREADY_EXISTS:vornakel_main.exe"), std::string::npos);
    EXPECT_NE(log.find("wWinMain] : FindWindow:Kaldrenmoor"), std::string::npos);
    EXPECT_EQ(WaitForLauncherWindow(), hwnd);  // still the one window
    EXPECT_TRUE(first->IsRunning());

    EXPECT_EQ(Post(hwnd, "16"), 0);
    EXPECT_EQ(first->Wait(10000), 0);
}

TEST_F(Launcher, StartWithoutArgumentsStillOpensTheHiddenWindow) {
    auto launcher = Start({});
    const std::string hwnd = WaitForLauncherWindow();
    ASSERT_FALSE(hwnd.empty());
    ASSERT_TRUE(WaitForLog(" false"));
    const std::string log = Log();
    EXPECT_NE(log.find("GameLoaderWnd::ParseCmdJson] : reader.parse:" + kBin + "/vornakel_main false"), std::string::npos)
        << log;
    EXPECT_EQ(Post(hwnd, "16"), 0);
    EXPECT_EQ(launcher->Wait(10000), 0);
}

// Whatever spelling carries the token to the JSON reader, neither the log file nor standard
// error shows it, and the texts around it stay as they are.
TEST_F(Launcher, TokenSpellingsNeverReachTheLogOrStandardError) {
    const std::pair<std::string, std::string> rows[] = {
        {"--token=SECRET", "reader.parse:--token=<redacted, 6 chars> false"},
        {"{\"t\\u006fken\":\"SECRET\"}", "m_strCmdJson is:{\"t\\u006fken\":\"<redacted, 6 chars>\"}"},
        {"{\"token\":/*c*/\"SECRET\"}", "m_strCmdJson is:{\"token\":/*c*/\"<redacted, 6 chars>\"}"},
        {"{/*\"token\":\"*/\"token\":\"SECRET\"}", "m_strCmdJson is:{/*\"token\":\"*/\"token\":\"<redacted, 6 chars>\"}"},
        {"{\"token\":\"SE\\\"CRET\"", "reader.parse:{\"token\":\"<redacted, 7 chars>\" false"},
    };
    for (const auto& [argument, expected] : rows) {
        IsolatedEnvironment environment;
        ChildProcess launcher(kBin + "/vornakel_main", {argument}, environment.Root());
        const std::string logPath = environment.LauncherLogPath();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (ReadWholeFile(logPath).find("ParseCmdJson") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::string log = ReadWholeFile(logPath);
        EXPECT_NE(log.find(expected), std::string::npos) << argument << "\n" << log;
        EXPECT_EQ(log.find("SECRET"), std::string::npos) << argument << "\n" << log;
        EXPECT_EQ(launcher.Stderr().find("SECRET"), std::string::npos) << argument;
        EXPECT_NE(launcher.Stderr().find(expected), std::string::npos) << argument << "\n" << launcher.Stderr();
        launcher.Terminate();
        launcher.Wait(10000);
    }
}

// A session folder that others could reach is refused; the launcher ends and says why.
TEST_F(Launcher, ARefusedSessionFolderIsReportedInTheLog) {
    const std::string session = m_environment.RuntimeDir() + "/tidewell";
    ASSERT_EQ(mkdir(session.c_str(), 0755), 0);
    chmod(session.c_str(), 0755);
    EXPECT_EQ(RunToEnd(kBin + "/vornakel_main", {"--source=TW"}, m_environment.Root()), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("wWinMain] : CreateMutex false:" + session + ": open to other users"), std::string::npos) << log;
    EXPECT_NE(log.find("] : create main window false:message socket: " + session + ": open to other users"), std::string::npos)
        << log;
}

// The game-manager window hears of the launcher when typeMode asks for it; an open-game
// message from another process is refused without its parameter ever being read.
TEST_F(Launcher, AnnouncesItselfToTheGameManagerAndRefusesOpenGameFromOutside) {
    for (const auto& [typeMode, announced] : {std::pair{"1", true}, std::pair{"0", false}}) {
        IsolatedEnvironment environment;
        ChildProcess manager(kBin + "/tidewell-sim", {"window", "--title", "GameManager"}, environment.Root());
        ASSERT_TRUE(manager.WaitForOutput("hwnd=", 5000));
        const std::string gameMgrId = manager.Stdout().substr(5, manager.Stdout().find('\n') - 5);
        ChildProcess launcher(kBin + "/vornakel_main", {"--source=TW", std::string("--typeMode=") + typeMode,
                                                        "--gameMgrId=" + gameMgrId, "--token=t"},
                              environment.Root());
        const platform::HWND hwnd = WaitForWindow(L"Kaldrenmoor");
        ASSERT_NE(hwnd, 0);
        platform::LRESULT answer = 0;
        ASSERT_TRUE(platform::SendMessageTimeoutW(hwnd, platform::WM_NULL, 0, 0, 10000, &answer));
        EXPECT_EQ(manager.WaitForOutput("msg=1348 wparam=0 lparam=0\n", announced ? 5000 : 500), announced) << typeMode;

        EXPECT_TRUE(platform::PostMessageW(hwnd, 1131, 0x41414141, 0));
        const std::string logPath = environment.LauncherLogPath();
        std::string log;
        for (int attempt = 0; attempt < 250 && log.find("from another process") == std::string::npos; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            log = ReadWholeFile(logPath);
        }
        EXPECT_TRUE(launcher.IsRunning());
        EXPECT_NE(log.find("WM_LAUNCHER_OPEN_GAME from another process refused"), std::string::npos) << log;
        EXPECT_EQ(log.find("LoadGame"), std::string::npos);
        platform::PostMessageW(hwnd, platform::WM_CLOSE, 0, 0);
        EXPECT_EQ(launcher.Wait(10000), 0);
    }
}

TEST_F(Launcher, WithoutItsWindowModuleTheLauncherStillExitsCleanly) {
    // A copy of the executable without the module beside it.
    const std::string lonely = m_environment.Root() + "/vornakel_main";
    WriteWholeFile(lonely, ReadWholeFile(kBin + "/vornakel_main"));
    chmod(lonely.c_str(), 0755);
    EXPECT_EQ(RunToEnd(lonely, {"--source=TW"}, m_environment.Root()), 0);
    EXPECT_NE(Log().find("load window module false:"), std::string::npos) << Log();
}

}  // namespace
