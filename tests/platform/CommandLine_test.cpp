#include "CommandLine.h"

#include "Text.h"

#include <gtest/gtest.h>

namespace {

using Arguments = std::vector<std::wstring>;

struct SplitRow {
    const char* name;
    std::wstring commandLine;
    Arguments expected;
};

void PrintTo(const SplitRow& row, std::ostream* out) { *out << row.name; }

class CommandLineSplit : public ::testing::TestWithParam<SplitRow> {};

TEST_P(CommandLineSplit, FollowsTheWindowsRules) {
    const auto arguments = platform::CommandLineToArgvW(GetParam().commandLine);
    ASSERT_TRUE(arguments.has_value());
    EXPECT_EQ(*arguments, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineSplit,
    ::testing::ValuesIn(std::vector<SplitRow>{
        {"plain", L"prog a b", {L"prog", L"a", L"b"}},
        {"tabs_and_runs_of_blanks", L"prog \t a   b ", {L"prog", L"a", L"b"}},
        {"quoted_program_keeps_backslashes", L"\"C:\\Program Files\\x.exe\" a", {L"C:\\Program Files\\x.exe", L"a"}},
        {"quoted_value_after_equals", L"p --instGamePath=\"D:\\My Games\"", {L"p", L"--instGamePath=D:\\My Games"}},
        {"escaped_quote", L"p a\\\"b", {L"p", L"a\"b"}},
        {"even_backslashes_then_quote", L"p \"a\\\\\" b", {L"p", L"a\\", L"b"}},
        {"odd_backslashes_then_quote", L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},
        {"backslashes_without_quote", L"p a\\\\b\\", {L"p", L"a\\\\b\\"}},
        {"empty_quoted_argument", L"p \"\" x", {L"p", L"", L"x"}},
        {"doubled_quote_inside_quotes", L"p \"a\"\"b\"", {L"p", L"a\"b"}},
        {"unclosed_quote_runs_to_end", L"p \"a b", {L"p", L"a b"}},
        {"json_argument", L"p {\\\"type\\\":1}", {L"p", L"{\"type\":1}"}},
        {"chinese", L"p --source=网络", {L"p", L"--source=网络"}},
    }),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever the arguments, the rebuilt command line must split back into them.
TEST(CommandLine, RebuiltLineSplitsBackIntoTheArguments) {
    const std::vector<Arguments> cases = {
        {L"/opt/vornakel/vornakel_main", L"--source=TW", L"--winid=1050"},
        {L"/opt/my games/vornakel_main", L"--instGamePath=D:\\My Games", L"--twext=a\"b"},
        {L"prog", L"", L"a b", L"x=\"y z\"", L"trailing\\", L"in side\\\\\"quote"},
        {L"prog", L"{\"token\":\"abc\",\"gameMgrId\":\"7\"}"},
        {L"prog", L"he said \"hi\":there", L"key:va lue", L"--k=v\\ \\\"", L"\t"},
        {L"prog", L"--cacheGamePath=/home/玩家/缓存 目录/"},
    };
    for (const Arguments& arguments : cases) {
        const std::wstring line = platform::BuildCommandLine(arguments);
        const auto split = platform::CommandLineToArgvW(line);
        ASSERT_TRUE(split.has_value());
        EXPECT_EQ(*split, arguments) << platform::WideToUtf8(line);
    }
}

TEST(CommandLine, ValuesAreQuotedAfterTheirEqualsSign) {
    EXPECT_EQ(platform::BuildCommandLine({L"p", L"--instGamePath=D:\\My Games", L"plain"}),
              L"p --instGamePath=\"D:\\My Games\" plain");
    EXPECT_EQ(platform::BuildCommandLine({L"p", L"two words"}), L"p \"two words\"");
}

TEST(CommandLine, OwnCommandLineStartsWithTheProgram) {
    const auto split = platform::CommandLineToArgvW(platform::GetCommandLineW());
    ASSERT_TRUE(split.has_value());
    ASSERT_FALSE(split->empty());
    EXPECT_NE(split->front().find(L"vk_unit_tests"), std::wstring::npos);
}

}  // namespace
