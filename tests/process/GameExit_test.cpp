// The game has ended: its client starts the launcher with the game-exit command, and that
// start tells the platform window recorded in the settings file, then ends without a window.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"


#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace {

const std::string kBin = VK_BIN_DIR;

// 1, "1" in 260 UTF-16 units, 1: as the platform window prints it.
std::string NoticeHex() {
    return "01000000"
           "3100" +
           std::string(259 * 4, '0') + "01000000";
}

class GameExit : public ::testing::Test {
protected:
    void SetUp() override {
        m_platformWindow = std::make_unique<ChildProcess>(kBin + "/tidewell-sim", std::vector<std::string>{"window"},
                                                          m_environment.Root());
        ASSERT_TRUE(m_platformWindow->WaitForOutput("hwnd=", 5000));
        const std::string out = m_platformWindow->Stdout();
        m_strPlatformWindow = out.substr(5, out.find('\n') - 5);
    }
    void TearDown() override { m_platformWindow->Terminate(); }
    void WriteSettings(const std::string& elements) {
        std::filesystem::create_directories(m_environment.DataHome() + "/Tidewell");
        WriteWholeFile(m_environment.DataHome() + "/Tidewell/setting.xml", "<settings>" + elements + "</settings>\n");
    }
    std::string Log() const {
        return ReadWholeFile(m_environment.LauncherLogPath());
    }
    int RunLauncher(const std::string& program, const std::string& command) {
        return RunToEnd(program, {command}, m_environment.Root());
    }

    IsolatedEnvironment m_environment;
    std::unique_ptr<ChildProcess> m_platformWindow;
    std::string m_strPlatformWindow;
};

// What the settings file holds decides who hears of it; the start never opens a window.
TEST_F(GameExit, ThePlatformWindowGetsTheNoticeOnlyWhenTheSettingsNameALoginSource) {
    struct Row {
        const char* settings;
        std::string elements;
        bool notified;
        const char* logLine;
    };
    const Row rows[] = {
        {"both", "<twwindowid>" + m_strPlatformWindow + "</twwindowid><loginsource>TW</loginsource>", true,
         "Tidewell wnd get"},
        {"no_window", "<loginsource>TW</loginsource>", false, "Tidewell wnd not get"},
        {"empty_login_source", "<twwindowid>" + m_strPlatformWindow + "</twwindowid><loginsource></loginsource>", false,
         "game exit notify:{\"type\":1}"},
        {"no_settings", "", false, "game exit notify:{\"type\":1}"},
    };
    for (const Row& row : rows) {
        WriteSettings(row.elements);
        if (row.elements.empty()) std::filesystem::remove(m_environment.DataHome() + "/Tidewell/setting.xml");
        const std::size_t before = m_platformWindow->Stdout().size();
        EXPECT_EQ(RunLauncher(kBin + "/vornakel_main", "{\"type\":1}"), 0) << row.settings;
        const std::string log = Log();
        EXPECT_NE(log.find(row.logLine), std::string::npos) << row.settings << "\n" << log;
        EXPECT_EQ(log.find("GameLoaderWnd::"), std::string::npos) << row.settings;  // no window was made
        // The send waits for the platform window, so a notice has been printed by now.
        const std::string received = m_platformWindow->Stdout().substr(before);
        if (row.notified) {
            EXPECT_EQ(received, "msg=74 wparam=0 copydata tag=1 len=528 hex=" + NoticeHex() + "\n") << row.settings;
        } else {
            EXPECT_EQ(received, "") << row.settings;
        }
    }
}

// The game-exit start loads no window library: a launcher copied without it still tells the
// platform window. The literal form of the command counts as well.
TEST_F(GameExit, TheStartNeedsNoWindowLibraryAndTakesTheLiteralCommand) {
    WriteSettings("<twwindowid>" + m_strPlatformWindow + "</twwindowid><loginsource>TW</loginsource>");
    const std::string alone = m_environment.Root() + "/alone";
    std::filesystem::create_directories(alone);
    std::filesystem::copy_file(kBin + "/vornakel_main", alone + "/vornakel_main");
    EXPECT_EQ(RunLauncher(alone + "/vornakel_main", "type:1"), 0);
    EXPECT_NE(Log().find("reader.parse:type:1 false"), std::string::npos) << Log();
    EXPECT_NE(Log().find("get type:1"), std::string::npos);
    EXPECT_TRUE(m_platformWindow->WaitForOutput("len=528 hex=" + NoticeHex() + "\n", 2000));

    std::string dynamic;
    ASSERT_EQ(RunToEnd("/usr/bin/readelf", {"-d", kBin + "/vornakel_main"}, m_environment.Root(), &dynamic), 0);
    EXPECT_NE(dynamic.find("(NEEDED)"), std::string::npos);
    for (const char* library : {"libglib", "libgobject", "libgtk", "libgdk", "libwebkit", "libsoup", "libcairo"}) {
        EXPECT_EQ(dynamic.find(library), std::string::npos) << library << "\n" << dynamic;
    }
}

// The stand-in client, left to end its game, starts the launcher beside it with the command.
TEST_F(GameExit, AGameThatEndsByItselfStartsTheLauncherWithTheCommand) {
    WriteSettings("<twwindowid>" + m_strPlatformWindow + "</twwindowid><loginsource>TW</loginsource>");
    const std::string folder = m_environment.Root() + "/game";
    std::filesystem::create_directories(folder);
    for (const char* program : {"vornakel", "vornakel_main", "vornakel_main_ui.so"}) {
        std::filesystem::copy_file(kBin + "/" + program, folder + "/" + program);
    }
    std::string output;
    EXPECT_EQ(RunToEnd("/usr/bin/env", {"VK_GAME_PLAY_SECONDS=1", folder + "/vornakel"}, folder, &output), 0);
    EXPECT_NE(output.find("game-client ended, started vornakel_main {\"type\":1}"), std::string::npos) << output;
    EXPECT_TRUE(m_platformWindow->WaitForOutput("len=528 hex=" + NoticeHex() + "\n", 2000));
}

}  // namespace

namespace {

// A platform window that hangs cannot hang the start: the send gives up after its time-out.
TEST_F(GameExit, AHungPlatformWindowDoesNotHoldTheStart) {
    WriteSettings("<twwindowid>" + m_strPlatformWindow + "</twwindowid><loginsource>TW</loginsource>");
    ASSERT_EQ(kill(m_platformWindow->Pid(), SIGSTOP), 0);
    EXPECT_EQ(RunToEnd(kBin + "/vornakel_main", {"{\"type\":1}"}, m_environment.Root(), nullptr, 15000), 0);
    kill(m_platformWindow->Pid(), SIGCONT);
    EXPECT_NE(Log().find("Tidewell wnd get"), std::string::npos);
}

}  // namespace
