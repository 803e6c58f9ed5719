// The README's main job, run as a newcomer runs it, on the test's desktop: the journey must
// reach its end, so the demo cannot rot.
#include "ChildProcess.h"
#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Demo, TheWholeJourneyReachesThePlatformsNotice) {
    IsolatedEnvironment environment;
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    ChildProcess demo(
        "/usr/bin/env",
        {"VK_DEMO_BIN=" + std::string(VK_BIN_DIR),
         // As in the other desktop tests: no leak check for a launcher that shows a page.
         "ASAN_OPTIONS=" + std::string(sanitizerOptions != nullptr ? sanitizerOptions : "") + ":detect_leaks=0",
         std::string(VK_SOURCE_DIR) + "/scripts/demo"},
        environment.Root(), true);
    ASSERT_EQ(demo.Wait(300000), 0) << demo.Stdout() << demo.Stderr();
    const std::string out = demo.Stdout();
    for (const std::string& expected : {
             std::string("the game-manager window received: msg=1348 wparam=0 lparam=0\n"),
             std::string(
                 "the site was asked for: GET /client/index/vornakel?fileparam=&token=demo-token-1234&source=TW\n"),
             std::string("second start exit code 0"),
             std::string("game-client argv=[\"--source=TW\",\"--token=开局令牌-7\",\"--twext=zone=3\""),
             std::string("the launcher has ended (exit code 0)\n"),
             std::string("game-client ended, started vornakel_main {\"type\":1}\n"),
             std::string("msg=74 (WM_COPYDATA) tag=1 len=528 hex=01000000 3100 …01000000\n"),
             std::string("DisplayIcon    REG_SZ    "),
             std::string("Kaldrenmoor.desktop is valid\n"),
             std::string("notices sent meanwhile: 0\n"),
             std::string("GetTokenBuff=1 token=会话令牌-0042\n"),
             std::string("decoded=https://pay.example/order?id=42\n"),
         }) {
        EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
    }
}

}  // namespace
