#include "GameLoaderWnd.h"

#include "CmdParam.h"
#include "IsolatedEnvironment.h"
#include "PlatformSettings.h"

#include "Text.h"

#include "CustomMessages.h"
#include "IeBrowserUI.h"

#include "UIContainer.h"
#include "UILabel.h"
#include "display/HeadlessDisplay.h"

#include <gtest/gtest.h>

namespace {

struct RecordRow {
    const char* name;
    std::wstring cmdJson;
    bool parsed;
    std::wstring winId, source, token, gameMgrId, instGamePath;
    std::int32_t installed;
};

void PrintTo(const RecordRow& row, std::ostream* out) { *out << row.name; }

class ParseCmdJsonRows : public ::testing::TestWithParam<RecordRow> {
protected:
    IsolatedEnvironment m_environment;
};

TEST_P(ParseCmdJsonRows, FillsTheRecord) {
    const RecordRow& row = GetParam();
    GameLoaderWnd window(row.cmdJson);
    EXPECT_EQ(window.ParseCmdJson(), row.parsed);
    EXPECT_EQ(window.m_params.m_strWinId, row.winId);
    EXPECT_EQ(window.m_params.m_strSource, row.source);
    EXPECT_EQ(window.m_params.m_strToken, row.token);
    EXPECT_EQ(window.m_params.m_strGameMgrId, row.gameMgrId);
    EXPECT_EQ(window.m_params.m_strInstGamePath, row.instGamePath);
    EXPECT_EQ(window.m_params.m_nGameInstalled, row.installed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseCmdJsonRows,
    ::testing::ValuesIn(std::vector<RecordRow>{
        {"options_text", L"{\"source\":\"TW\",\"token\":\"t0k\",\"winid\":\"1050\"}\n", true, L"1050", L"TW", L"t0k", L"", L"", 0},
        {"platform_json", L"{\"token\":\"abc\",\"gameMgrId\":\"77\"}", true, L"", L"", L"abc", L"77", L"", 0},
        {"empty_text", L"", false, L"", L"", L"", L"", L"", 0},
        {"program_path_is_not_json", L"/opt/vornakel/vornakel_main", false, L"", L"", L"", L"", L"", 0},
        {"token_option_alone", L"--token=abc", false, L"", L"", L"", L"", L"", 0},
        {"installed_string", L"{\"installed\":\"1\"}", true, L"", L"", L"", L"", L"", 1},
        {"installed_number_ignored", L"{\"installed\":1}", true, L"", L"", L"", L"", L"", 0},
        {"trailing_text_is_not_json", L"{\"source\":\"TW\"} x", false, L"", L"", L"", L"", L"", 0},
        {"installed_leading_digits", L"{\"installed\":\"  12abc\"}", true, L"", L"", L"", L"", L"", 12},
        {"installed_no_digits", L"{\"installed\":\"abc\"}", true, L"", L"", L"", L"", L"", 0},
        {"installed_saturates", L"{\"installed\":\"99999999999\"}", true, L"", L"", L"", L"", L"", 2147483647},
        {"non_string_members_ignored", L"{\"source\":5,\"token\":null,\"winid\":[1]}", true, L"", L"", L"", L"", L"", 0},
        {"array_root", L"[1,2]", true, L"", L"", L"", L"", L"", 0},
        {"number_root", L"5", true, L"", L"", L"", L"", L"", 0},
        {"chinese_path", L"{\"instGamePath\":\"D:\\\\游戏\"}", true, L"", L"", L"", L"", L"D:\\游戏", 0},
    }),
    [](const auto& info) { return std::string(info.param.name); });

// Ten keys, ten different values: each member takes its own key's value.
TEST(ParseCmdJson, EveryKeyFillsItsOwnMember) {
    IsolatedEnvironment environment;
    GameLoaderWnd window(L"{\"winid\":\"1\",\"source\":\"2\",\"tokenLogin\":\"3\",\"token\":\"4\",\"twext\":\"5\","
                         L"\"installed\":\"6\",\"gameMgrId\":\"7\",\"typeMode\":\"8\",\"instGamePath\":\"9\","
                         L"\"cacheGamePath\":\"10\"}");
    ASSERT_TRUE(window.ParseCmdJson());
    EXPECT_EQ(window.m_params.m_strWinId, L"1");
    EXPECT_EQ(window.m_params.m_strSource, L"2");
    EXPECT_EQ(window.m_params.m_strTokenLogin, L"3");
    EXPECT_EQ(window.m_params.m_strToken, L"4");
    EXPECT_EQ(window.m_params.m_strTwExt, L"5");
    EXPECT_EQ(window.m_params.m_nGameInstalled, 6);
    EXPECT_EQ(window.m_params.m_strGameMgrId, L"7");
    EXPECT_EQ(window.m_params.m_strTypeMode, L"8");
    EXPECT_EQ(window.m_params.m_strInstGamePath, L"9");
    EXPECT_EQ(window.m_params.m_strCacheGamePath, L"10");
}

TEST(ParseCmdJson, WinIdIsRecordedInTheSettingsFile) {
    IsolatedEnvironment environment;
    GameLoaderWnd window(L"{\"winid\":\"1050\",\"source\":\"TW\"}");
    ASSERT_TRUE(window.ParseCmdJson());
    std::wstring stored;
    ASSERT_TRUE(GetPlatformWindowId(SettingsPath(), stored));
    EXPECT_EQ(stored, L"1050");
}

TEST(ParseCmdJson, CommandLineToRecordEndToEnd) {
    IsolatedEnvironment environment;
    std::wstring cmdJson;
    ASSERT_TRUE(ParseCmdParam(cmdJson, platform::BuildCommandLine({L"p", L"--source=TW", L"--winid=1050",
                                                                    L"--token=令牌", L"--instGamePath=D:\\My Games"})));
    GameLoaderWnd window(cmdJson);
    ASSERT_TRUE(window.ParseCmdJson());
    EXPECT_EQ(window.m_params.m_strSource, L"TW");
    EXPECT_EQ(window.m_params.m_strWinId, L"1050");
    EXPECT_EQ(window.m_params.m_strToken, L"令牌");
    EXPECT_EQ(window.m_params.m_strInstGamePath, L"D:\\My Games");
}

// The main window off screen, created as start-up creates it, driven by its messages.
class MainWindow : public ::testing::Test {
protected:
    void Open(const std::wstring& cmdJson) {
        m_pWindow = new GameLoaderWnd(cmdJson);
        m_hWnd = m_pWindow->Create(0, L"Kaldrenmoor", 0x10CF0000, 0);
        ASSERT_NE(m_hWnd, 0);
        platform::ShowWindow(m_hWnd, platform::SW_HIDE);
    }
    void TearDown() override {
        if (platform::IsWindow(m_hWnd)) platform::DestroyWindow(m_hWnd);
        Drain();
    }
    // Runs the loop over what has been posted, until the window's end posts the quit.
    void Drain() {
        platform::QueuedMSG message;
        platform::PostMessageW(m_hWnd, platform::WM_NULL, 0, 0);
        while (platform::IsWindow(m_hWnd) && platform::GetMessageW(&message) != 0) {
            platform::DispatchMessageW(&message);
            if (message.message == platform::WM_NULL) break;
        }
    }
    platform::LRESULT Send(platform::UINT message, platform::WPARAM wParam = 0, platform::LPARAM lParam = 0) {
        return platform::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    uikit::CProgressUI& Progress() { return *m_pWindow->m_PaintManager.FindControlAs<uikit::CProgressUI>("progress"); }
    std::string Tip() { return m_pWindow->m_PaintManager.FindControl("progTip")->GetText(); }
    uikit::CHeadlessDisplay& Headless() { return dynamic_cast<uikit::CHeadlessDisplay&>(uikit::Display()); }

    IsolatedEnvironment m_environment;
    GameLoaderWnd* m_pWindow = nullptr;
    platform::HWND m_hWnd = 0;
};

TEST_F(MainWindow, TheDesktopSeesItsTitleAndIconAndTheBrowserElementIsTheLaunchersOwn) {
    Open(L"{\"source\":\"TW\"}");
    EXPECT_EQ(Headless().Title(m_hWnd), L"Kaldrenmoor");
    EXPECT_TRUE(Headless().HasIcon(m_hWnd));
    EXPECT_NE(dynamic_cast<CIeBrowserUI*>(m_pWindow->m_PaintManager.FindControl("ie")), nullptr);
    for (const char* name : {"IeBrowser", "IEBROWSER", "iebrowser"}) {
        EXPECT_NE(dynamic_cast<CIeBrowserUI*>(m_pWindow->CreateControl(name).get()), nullptr) << name;
    }
    EXPECT_EQ(m_pWindow->CreateControl("WebBrowser"), nullptr);
    EXPECT_EQ(m_pWindow->m_PaintManager.FindControlAs<uikit::CTabLayoutUI>("wizardTab")->GetCurSel(), 0);
}

TEST_F(MainWindow, ProgressMessagesMoveTheBarAndChangeTheTipAfterTheBarWasFull) {
    Open(L"{}");
    const std::string initial = Tip();
    struct Step {
        platform::WPARAM percent;
        int value;
        bool released;  // the tip says the files are being released
    };
    for (const Step& step : {Step{40, 40, false}, Step{150, 40, false}, Step{100, 100, false}, Step{100, 100, true}}) {
        Send(WM_LAUNCHER_PROGRESS, step.percent);
        EXPECT_EQ(Progress().GetValue(), step.value) << step.percent;
        EXPECT_EQ(Tip(), step.released ? std::string("正在释放文件") : initial) << step.percent;
    }
    TearDown();
    Open(L"{}");
    Send(WM_LAUNCHER_PROGRESS, 100);
    Send(WM_LAUNCHER_PROGRESS, 150);  // out of range: the bar keeps 100, the tip changes all the same
    EXPECT_EQ(Progress().GetValue(), 100);
    EXPECT_EQ(Tip(), "正在释放文件");
}

// A second start's message brings the window forward: restored when minimised, raised above
// the others, and left hidden when it is hidden.
TEST_F(MainWindow, ActivationRestoresRaisesAndKeepsAHiddenWindowHidden) {
    Open(L"{}");
    const std::uint64_t before = platform::GetWindowZOrder(m_hWnd);
    const int raisedBefore = Headless().RaiseCount(m_hWnd);
    Send(WM_LAUNCHER_ACTIVATE);
    EXPECT_FALSE(platform::IsWindowVisible(m_hWnd));
    EXPECT_GT(platform::GetWindowZOrder(m_hWnd), before);
    EXPECT_EQ(Headless().RaiseCount(m_hWnd), raisedBefore + 1);

    platform::ShowWindow(m_hWnd, platform::SW_SHOWNORMAL);
    Send(WM_LAUNCHER_MINIMIZE);
    EXPECT_TRUE(platform::IsIconic(m_hWnd));
    Send(WM_LAUNCHER_ACTIVATE);
    EXPECT_FALSE(platform::IsIconic(m_hWnd));
    EXPECT_TRUE(Headless().IsVisible(m_hWnd));
}

// The page has loaded: the window shows, unless the token is "1".
TEST_F(MainWindow, ThePageShowsTheWindowUnlessTheTokenIsOne) {
    for (const auto& [cmdJson, shown] : {std::pair{L"{\"token\":\"t\"}", true}, std::pair{L"{\"token\":\"1\"}", false}}) {
        Open(cmdJson);
        Send(WM_LAUNCHER_SHOW);
        EXPECT_EQ(platform::IsWindowVisible(m_hWnd), shown);
        EXPECT_TRUE(m_pWindow->m_PaintManager.FindControl("ie")->IsVisible());
        TearDown();
    }
}

// The desktop's close and the caption's double click; the tray menu without a choice.
TEST_F(MainWindow, SystemCloseRunsTheCloseProcedureAndACaptionDoubleClickDoesNothing) {
    Open(L"{}");
    platform::ShowWindow(m_hWnd, platform::SW_SHOWNORMAL);
    EXPECT_EQ(Send(platform::WM_NCLBUTTONDBLCLK, platform::HTCAPTION), 0);
    EXPECT_FALSE(platform::IsZoomed(m_hWnd));
    Send(WM_LAUNCHER_TRAY, 0, platform::WM_RBUTTONDOWN);  // nobody picks "退出" off screen
    Send(WM_LAUNCHER_TRAY, 0, platform::WM_LBUTTONDOWN);
    EXPECT_TRUE(platform::IsWindow(m_hWnd));
    Send(platform::WM_SYSCOMMAND, platform::SC_CLOSE);
    Drain();
    EXPECT_FALSE(platform::IsWindow(m_hWnd));
}

TEST_F(MainWindow, TheDownloadPageButtonsMinimiseAndClose) {
    Open(L"{}");
    m_pWindow->m_PaintManager.FindControlAs<uikit::CTabLayoutUI>("wizardTab")->SelectItem(1);
    platform::ShowWindow(m_hWnd, platform::SW_SHOWNORMAL);
    Headless().InjectClick(m_hWnd, 914, 18);
    EXPECT_TRUE(platform::IsIconic(m_hWnd));
    platform::ShowWindow(m_hWnd, platform::SW_RESTORE);
    Headless().InjectClick(m_hWnd, 942, 19);
    Drain();
    EXPECT_FALSE(platform::IsWindow(m_hWnd));
}

}  // namespace
