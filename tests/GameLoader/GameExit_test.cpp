#include "GameExit.h"
#include "PlatformNotice.h"
#include "PlatformSettings.h"

#include "IsolatedEnvironment.h"

#include "Text.h"
#include "WindowCore.h"
#include "WindowMessaging.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

struct ExitRow {
    const char* name;
    std::wstring text;
    bool isExit;
};

void PrintTo(const ExitRow& row, std::ostream* out) { *out << row.name; }

class GameExitRows : public ::testing::TestWithParam<ExitRow> {
protected:
    IsolatedEnvironment m_environment;
};

TEST_P(GameExitRows, RecognisesOnlyTheGameExitCommand) { EXPECT_EQ(IsGameExit(GetParam().text), GetParam().isExit); }

INSTANTIATE_TEST_SUITE_P(Rows, GameExitRows,
                         ::testing::ValuesIn(std::vector<ExitRow>{
                             {"json_type_one", L"{\"type\":1}", true},
                             {"integral_float", L"{\"type\":1.0}", true},
                             {"with_other_members", L"{\"token\":\"t\",\"type\":1}", true},
                             {"literal_text", L"type:1", true},
                             {"literal_braces", L"{type:1}", true},
                             {"literal_with_space", L"{type: 1}", false},
                             {"literal_other_case", L"TYPE:1", false},
                             {"string_one", L"{\"type\":\"1\"}", false},
                             {"type_two", L"{\"type\":2}", false},
                             {"fraction", L"{\"type\":1.5}", false},
                             {"boolean", L"{\"type\":true}", false},
                             {"beyond_32_bits", L"{\"type\":4294967297}", false},
                             {"array_root", L"[1]", false},
                             {"number_root", L"5", false},
                             {"no_type", L"{\"source\":\"TW\"}", false},
                             {"empty", L"", false},
                             {"broken_json", L"{\"type\":1", false},
                         }),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlatformNotice, IsTheFixedRecordOf528Bytes) {
    std::vector<unsigned char> expected(528, 0);
    expected[0] = 1;
    expected[4] = '1';
    expected[524] = 1;
    const auto notice = PlatformNotice();
    EXPECT_EQ(std::vector<unsigned char>(notice.begin(), notice.end()), expected);
}

// A platform window on this thread: what it was sent, byte for byte.
struct Received {
    platform::WPARAM sender = 99;
    std::uintptr_t tag = 0;
    std::vector<unsigned char> bytes;
};
std::vector<Received> g_received;

platform::LRESULT PlatformWindowProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                                     platform::LPARAM lParam) {
    if (message == platform::WM_COPYDATA) {
        const auto* copy = reinterpret_cast<const platform::COPYDATASTRUCT*>(lParam);
        const auto* data = static_cast<const unsigned char*>(copy->lpData);
        g_received.push_back({wParam, copy->dwData, std::vector<unsigned char>(data, data + copy->cbData)});
        return 1;
    }
    return platform::DefWindowProcW(hwnd, message, wParam, lParam);
}

// Whether the platform window is told depends on what the settings file holds.
TEST(GameExitNotice, GoesToTheRecordedPlatformWindowOnlyWithALoginSource) {
    IsolatedEnvironment environment;
    static const bool registered = platform::RegisterClassW(L"GameExitTestPlatform", &PlatformWindowProc);
    (void)registered;
    const platform::HWND window =
        platform::CreateWindowExW(0, L"GameExitTestPlatform", L"Tidewell", 0, 0, 0, 0, 0, 0, nullptr);
    ASSERT_NE(window, 0);
    const std::wstring handle = std::to_wstring(window);
    const auto notice = PlatformNotice();
    struct Row {
        const char* settings;
        std::wstring loginSource, windowId;
        std::size_t notices;
    };
    for (const Row& row : {Row{"both", L"TW", handle, 1}, Row{"handle_with_spaces", L"TW", L"  " + handle + L"x", 1},
                           Row{"empty_login_source", L"", handle, 0}, Row{"no_window", L"TW", L"", 0}}) {
        std::remove(platform::WideToUtf8(SettingsPath()).c_str());
        SetLoginSource(row.loginSource, SettingsPath());
        if (!row.windowId.empty()) SetPlatformWindowId(row.windowId, SettingsPath());
        g_received.clear();
        EXPECT_TRUE(IsGameExit(L"{\"type\":1}")) << row.settings;
        ASSERT_EQ(g_received.size(), row.notices) << row.settings;
        if (row.notices == 0) continue;
        EXPECT_EQ(g_received[0].sender, 0u);
        EXPECT_EQ(g_received[0].tag, 1u);
        EXPECT_EQ(g_received[0].bytes, std::vector<unsigned char>(notice.begin(), notice.end()));
    }
    platform::DestroyWindow(window);
}

}  // namespace
