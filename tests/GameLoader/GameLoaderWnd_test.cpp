#include "GameLoaderWnd.h"

#include "CmdParam.h"
#include "IsolatedEnvironment.h"
#include "PlatformSettings.h"

#include "Text.h"

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

}  // namespace
