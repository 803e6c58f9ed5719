// The real launcher on a real X server with the stand-in game site: the page it
// loads, the window it shows, and what the page's script bridge makes it do.
#include "DesktopSession.h"
#include "PublishedWindow.h"

#include "WindowMessaging.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

const std::string kBin = VK_BIN_DIR;
const std::string kPage = "GET /client/index/vornakel?";

void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// The launcher's own window handle once it is published.
platform::HWND LauncherWindow() { return WaitForWindow(L"Kaldrenmoor", 20000); }

TEST(LauncherPage, TheStartAddressCarriesTheLaunchParametersAsTheyAre) {
    struct Row {
        std::vector<std::string> arguments;
        std::string fileParam;
        std::string request;
    };
    const Row rows[] = {
        {{"--source=TW", "--token=t1", "--twext=x y", "--tokenLogin=0"},
         "",
         kPage + "fileparam=&token=t1&source=TW&twext=x%20y&tokenLogin=0"},
        {{"--token=t1", "--tokenLogin=0"}, "", kPage + "fileparam=&token=t1&tokenLogin=0"},
        {{"--source=TW", "--typeMode=0"}, "abc", kPage + "fileparam=abc&source=TW"},
    };
    for (const Row& row : rows) {
        DesktopSession session;
        if (!row.fileParam.empty()) {
            ASSERT_EQ(RunToEnd(kBin + "/reg",
                               {"add",
                                "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                                "Uninstall\\vornakel",
                                "/v", "FileParam", "/d", row.fileParam, "/f"},
                               session.Environment().Root()),
                      0);
        }
        session.StartSite();
        session.StartLauncher(row.arguments);
        EXPECT_TRUE(session.WaitForSite(kPage)) << session.Site().Stdout();
        EXPECT_NE(session.Site().Stdout().find(row.request + "\n"), std::string::npos) << session.Site().Stdout();
        EXPECT_TRUE(session.WaitForLog("fileparam=" + row.fileParam));
        session.Launcher().Terminate();
        session.Launcher().Wait(10000);
    }
}

// The window appears once the page has loaded, not before; a token "1" keeps it hidden.
TEST(LauncherPage, TheWindowShowsOnlyOnceThePageHasLoaded) {
    {
        DesktopSession session;
        session.StartSite({"--page-delay", "1500"});
        session.StartLauncher({"--source=TW", "--token=t1"});
        ASSERT_TRUE(session.WaitForSite(kPage));
        Pause(300);
        EXPECT_EQ(session.ShownWindow("Kaldrenmoor"), "") << "shown before its page";
        ASSERT_TRUE(session.WaitForSite("GET /client/loaded"));
        EXPECT_TRUE(session.WaitForShownWindow("Kaldrenmoor"));
        EXPECT_TRUE(session.WaitForLog("OnShowMainWnd enter"));
        platform::PostMessageW(LauncherWindow(), platform::WM_CLOSE, 0, 0);
        EXPECT_EQ(session.Launcher().Wait(10000), 0);
    }  // the site ends with its session: the next one takes its port

    DesktopSession hidden;
    hidden.StartSite();
    hidden.StartLauncher({"--source=TW", "--token=1"});
    ASSERT_TRUE(hidden.WaitForSite("GET /client/loaded"));
    Pause(1000);
    EXPECT_EQ(hidden.ShownWindow("Kaldrenmoor"), "");
    EXPECT_EQ(hidden.Log().find("OnShowMainWnd enter"), std::string::npos);
    platform::PostMessageW(LauncherWindow(), platform::WM_CLOSE, 0, 0);
    EXPECT_EQ(hidden.Launcher().Wait(10000), 0);
}

// Each function the page names runs; anything else the page calls does nothing at all.
TEST(LauncherPage, TheBridgeAnswersItsFourFunctionsAndNothingElse) {
    DesktopSession session;
    session.StartSite({
        "--call",
        "{\"funcation_name\":\"MIN_WND\"}",
        "--call",
        "not json",
        "--call",
        "{\"funcation_name\":5}",
        "--call",
        "[\"min_wnd\"]",
        "--call",
        "{}",
        "--script",
        "window.external.g_callCppFunc(5)",
        "--script",
        "window.external.g_callCppFunc([1, 2])",
        "--script",
        "window.external.g_callCppFunc(null)",
        "--script",
        "window.external.g_callCppFunc('{\"funcation_name\":\"min_wnd\"}', 2)",
        "--script",
        "window.external.g_callCppFunc()",
        // Names of no member are undefined, case included: only then is the drag asked for.
        "--script",
        "if (window.external.G_CallCppFunc === undefined && window.external.g_callcppfunc === undefined &&"
        " Object.keys(window.external).join() === 'g_callCppFunc')"
        " window.external.g_callCppFunc('{\"funcation_name\":\"wnd_mousemove\"}')",
        "--call",
        "{\"funcation_name\":\"min_wnd\",\"extra\":1}",
        "--call",
        "{\"funcation_name\":\"open_game\",\"token\":\"new\"}",
    });
    session.StartLauncher({"--source=TW", "--token=t1"});
    ASSERT_TRUE(session.WaitForLog("open_game call"));
    EXPECT_TRUE(session.WaitForLog("GameLoaderWnd LoadGame start"));
    const std::string log = session.Log();
    const auto count = [&](const std::string& text) {
        std::size_t found = 0;
        for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++found;
        return found;
    };
    EXPECT_EQ(count("CallCppFunc] : min_wnd call"), 1u) << log;
    EXPECT_EQ(count("CallCppFunc] : wnd_mousemove call"), 1u) << log;
    EXPECT_EQ(count("CallCppFunc] : open_game call"), 1u) << log;
    EXPECT_EQ(count(" call\n"), 3u) << log;
    session.Launcher().Terminate();
    session.Launcher().Wait(10000);
}

// The close function runs the close procedure; the notice goes only to the platform's own start.
TEST(LauncherPage, CloseWndClosesTheLauncher) {
    for (const auto& [source, notice] : {std::pair{"TW", true}, std::pair{"QQ", false}}) {
        DesktopSession session;
        session.StartSite({"--call", "{\"funcation_name\":\"close_wnd\"}"});
        session.StartLauncher({std::string("--source=") + source, "--winid=70000", "--token=t1"});
        EXPECT_EQ(session.Launcher().Wait(30000), 0) << source;
        const std::string log = session.Log();
        EXPECT_NE(log.find("close_wnd call"), std::string::npos) << log;
        EXPECT_EQ(log.find("GameLoaderWnd close wnd") != std::string::npos, notice) << log;
    }
}

// A frame of another origin, and a page of another site, start nothing.
TEST(LauncherPage, CallsFromFramesAndOtherSitesAreRefused) {
    {
        DesktopSession framed;
        framed.StartSite({"--frame-call", "{\"funcation_name\":\"min_wnd\"}"});
        framed.StartLauncher({"--source=TW", "--token=t1"});
        EXPECT_TRUE(framed.WaitForLog("g_callCppFunc refused from https://127.0.0.1:15444 (frame)")) << framed.Log();
        EXPECT_EQ(framed.Log().find("min_wnd call"), std::string::npos);
        framed.Launcher().Terminate();
        framed.Launcher().Wait(10000);
    }  // the site ends with its session: the next one takes its port

    DesktopSession elsewhere;
    elsewhere.StartSite({"--other-origin", "--call", "{\"funcation_name\":\"min_wnd\"}", "--call",
                         "{\"funcation_name\":\"close_wnd\"}"});
    elsewhere.StartLauncher({"--source=TW", "--token=t1"});
    EXPECT_TRUE(elsewhere.WaitForLog("g_callCppFunc refused from https://127.0.0.1:15444\n")) << elsewhere.Log();
    Pause(300);
    const std::string log = elsewhere.Log();
    EXPECT_EQ(log.find("min_wnd call"), std::string::npos);
    EXPECT_EQ(log.find("close_wnd call"), std::string::npos);
    std::size_t refusals = 0;
    for (std::size_t at = log.find("refused from"); at != std::string::npos; at = log.find("refused from", at + 1))
        ++refusals;
    EXPECT_EQ(refusals, 1u) << "logged once per origin";
    EXPECT_TRUE(elsewhere.Launcher().IsRunning());
    elsewhere.Launcher().Terminate();
    elsewhere.Launcher().Wait(10000);
}

// A site that cannot be reached is reported in the system's box; then the launcher closes.
TEST(LauncherPage, AnUnreachableSiteShowsTheNetworkBoxThenCloses) {
    DesktopSession session;  // no site runs
    session.StartLauncher({"--source=TW", "--token=t1"});
    ASSERT_TRUE(session.WaitForShownWindow("提示")) << session.Log();
    EXPECT_NE(session.Xdotool({"search", "--onlyvisible", "--name", "^提示$"}), "");
    EXPECT_TRUE(session.Launcher().IsRunning());
    session.Xdotool({"search", "--onlyvisible", "--name", "^提示$", "windowactivate", "--sync", "key", "Return"});
    session.Xdotool({"key", "Return"});
    EXPECT_EQ(session.Launcher().Wait(20000), 0);
}

// Other failures leave the server's (or the browser's) error page, and the window shows it.
TEST(LauncherPage, AServerErrorPageIsShown) {
    DesktopSession session;
    session.StartSite({"--status", "500"});
    session.StartLauncher({"--source=TW", "--token=t1"});
    EXPECT_TRUE(session.WaitForShownWindow("Kaldrenmoor")) << session.Log();
    EXPECT_EQ(session.ShownWindow("提示"), "");
    session.Launcher().Terminate();
    session.Launcher().Wait(10000);
}

TEST(LauncherPage, NewWindowsOfThePageGoToTheDefaultBrowserOnlyForWebAddresses) {
    for (const auto& [address, handedOn] :
         {std::pair{"https://shop.example/item?id=7", true}, std::pair{"http://news.example/", true},
          std::pair{"file:///etc/passwd", false}, std::pair{"javascript:alert(1)", false},
          std::pair{"data:text/html,x", false}, std::pair{"custom://run", false}}) {
        DesktopSession session;
        session.StartSite({"--new-window", address});
        session.StartLauncher({"--source=TW", "--token=t1"});
        ASSERT_TRUE(session.WaitForSite("GET /client/loaded"));
        if (handedOn) {
            for (int i = 0; i < 250 && session.OpenedInDefaultBrowser().empty(); ++i) Pause(20);
            EXPECT_EQ(session.OpenedInDefaultBrowser(), std::string(address) + "\n");
        } else {
            Pause(1000);
            EXPECT_EQ(session.OpenedInDefaultBrowser(), "") << address;
        }
        // The page stays where it was: it was asked for once.
        const std::string requests = session.Site().Stdout();
        EXPECT_EQ(requests.find(kPage), requests.rfind(kPage)) << requests;
        session.Launcher().Terminate();
        session.Launcher().Wait(10000);
    }
}

// A press on the page's drag strip, held while the pointer moves, moves the window with it.
TEST(LauncherPage, TheDragStripMovesTheWindowWithThePointer) {
    DesktopSession session;
    session.StartSite();
    session.StartLauncher({"--source=TW", "--token=t1"});
    ASSERT_TRUE(session.WaitForShownWindow("Kaldrenmoor"));
    Pause(1500);  // the page draws
    const std::string window = session.ShownWindow("Kaldrenmoor");
    const auto [x, y] = session.WindowPosition(window);
    ASSERT_GE(x, 0);
    const std::string grabX = std::to_string(x + 200);
    const std::string grabY = std::to_string(y + 20);
    session.Xdotool({"mousemove",
                     grabX,
                     grabY,
                     "sleep",
                     "0.3",
                     "mousedown",
                     "1",
                     "sleep",
                     "0.5",
                     "mousemove",
                     std::to_string(x + 260),
                     std::to_string(y + 60),
                     "sleep",
                     "0.3",
                     "mousemove",
                     std::to_string(x + 320),
                     std::to_string(y + 100),
                     "sleep",
                     "0.5",
                     "mouseup",
                     "1",
                     "sleep",
                     "0.3"});
    EXPECT_TRUE(session.WaitForLog("wnd_mousemove call"));
    const auto [movedX, movedY] = session.WindowPosition(window);
    EXPECT_GE(movedX, x + 100) << movedX;
    EXPECT_GE(movedY, y + 60) << movedY;
    session.Launcher().Terminate();
    session.Launcher().Wait(10000);
}

// The notification area's right click opens the menu with "退出" at the pointer; choosing it
// runs the close procedure.
TEST(LauncherPage, TheTrayMenuExitClosesTheLauncher) {
    DesktopSession session;
    session.StartSite();
    session.StartLauncher({"--source=TW", "--token=t1"});
    ASSERT_TRUE(session.WaitForShownWindow("Kaldrenmoor"));
    session.Xdotool({"mousemove", "40", "40"});
    EXPECT_TRUE(platform::PostMessageW(LauncherWindow(), 1126, 0, platform::WM_LBUTTONDOWN));
    EXPECT_TRUE(platform::PostMessageW(LauncherWindow(), 1126, 0, platform::WM_RBUTTONDOWN));
    Pause(1000);
    EXPECT_TRUE(session.Launcher().IsRunning());
    session.Xdotool({"mousemove", "60", "52", "sleep", "0.3", "click", "1"});
    EXPECT_EQ(session.Launcher().Wait(20000), 0);
}

// The page's open-game request hands over a fresh token and twext; the game client starts
// with them and the launcher is gone.
TEST(LauncherPage, OpenGameFromThePageStartsTheClientWithTheNewToken) {
    DesktopSession session;
    const std::string install = session.Environment().Root() + "/Games/vornakel";
    std::filesystem::create_directories(install);
    std::filesystem::copy_file(kBin + "/vornakel", install + "/vornakel");
    ASSERT_EQ(RunToEnd(kBin + "/reg", {"add", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vornakel", "/v",
                                       "DisplayIcon", "/d", install + "/vornakel_main", "/f"},
                       session.Environment().Root()),
              0);
    session.StartSite({"--call", "{\"funcation_name\":\"open_game\",\"token\":\"新令牌\",\"twext\":\"x\"}"});
    session.StartLauncher({"--source=TW", "--token=old", "--twext=old"});
    EXPECT_EQ(session.Launcher().Wait(30000), 0) << session.Log();
    ASSERT_TRUE(session.Launcher().WaitForOutput("game-client argv=", 5000)) << session.Log();
    EXPECT_NE(session.Launcher().Stdout().find("game-client argv=[\"--source=TW\",\"--token=新令牌\",\"--twext=x\"]"),
              std::string::npos)
        << session.Launcher().Stdout();
    // The client was started for this test; it ends with it.
    RunToEnd("/usr/bin/pkill", {"-TERM", "-f", "^" + install + "/vornakel"}, session.Environment().Root());
}

}  // namespace


namespace {

// Unpacking failed: the launcher's own box comes up over the window, which takes no input
// meanwhile; its OK button closes both, and the platform window hears nothing of it.
TEST(LauncherPage, TheMessageBoxIsModalOverTheWindowAndItsOkClosesTheLauncher) {
    DesktopSession session;
    ChildProcess platformWindow(kBin + "/tidewell-sim", {"window"}, session.Environment().Root());
    ASSERT_TRUE(platformWindow.WaitForOutput("hwnd=", 5000));
    const std::string out = platformWindow.Stdout();
    session.StartSite();
    session.StartLauncher({"--source=TW", "--token=t1", "--winid=" + out.substr(5, out.find('\n') - 5)});
    ASSERT_TRUE(session.WaitForShownWindow("Kaldrenmoor"));
    const std::string main = session.ShownWindow("Kaldrenmoor");
    EXPECT_TRUE(platform::PostMessageW(LauncherWindow(), 1134, 3, 0));
    ASSERT_TRUE(session.WaitForShownWindow("CustomMsgBox"));
    Pause(500);  // drawn and placed
    const std::string box = session.ShownWindow("CustomMsgBox");
    const auto [mainX, mainY] = session.WindowPosition(main);
    const auto [boxX, boxY] = session.WindowPosition(box);
    EXPECT_EQ(boxX, mainX + (960 - 440) / 2);
    EXPECT_EQ(boxY, mainY + (620 - 260) / 2);

    // The launcher's own close button does nothing while the box is up.
    session.Xdotool({"mousemove", std::to_string(mainX + 942), std::to_string(mainY + 19), "sleep", "0.2", "click", "1",
                     "sleep", "0.8"});
    EXPECT_TRUE(session.Launcher().IsRunning());
    EXPECT_EQ(session.WindowPosition(box), std::make_pair(boxX, boxY));  // back at rest after its shake

    session.Xdotool({"mousemove", std::to_string(boxX + 220), std::to_string(boxY + 224), "sleep", "0.2", "click", "1"});
    EXPECT_EQ(session.Launcher().Wait(20000), 0);
    EXPECT_FALSE(platformWindow.WaitForOutput("copydata", 300)) << platformWindow.Stdout();
    platformWindow.Terminate();
}

}  // namespace
