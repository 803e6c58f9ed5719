#include "CmdLineParser.h"

#include "Text.h"

#include <gtest/gtest.h>

namespace {

using Options = std::map<std::wstring, std::wstring>;

struct ParserRow {
    const char* name;
    std::wstring commandLine;
    Options expected;
};

void PrintTo(const ParserRow& row, std::ostream* out) { *out << row.name; }

class CmdLineParserRows : public ::testing::TestWithParam<ParserRow> {};

TEST_P(CmdLineParserRows, FindsTheOptions) {
    EXPECT_EQ(CCmdLineParser(GetParam().commandLine).Options(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CmdLineParserRows,
    ::testing::ValuesIn(std::vector<ParserRow>{
        {"windows_program_path", L"C:\\game\\client.exe --token=abc --userID=42", {{L"token", L"abc"}, {L"userID", L"42"}}},
        {"linux_program_path_is_not_an_option", L"/opt/game/client --token=abc", {{L"token", L"abc"}}},
        {"quoted_program_path", L"\"/opt/my games/client\" --token=abc", {{L"token", L"abc"}}},
        {"all_prefixes", L"p --a=1 -b:2 /c=3 --d=\"4\"", {{L"a", L"1"}, {L"b", L"2"}, {L"c", L"3"}, {L"d", L"4"}}},
        {"flag_without_value", L"p --flag", {{L"flag", L""}}},
        {"first_occurrence_wins", L"p --userID=1 --userID=2", {{L"userID", L"1"}}},
        {"names_are_case_sensitive", L"p --TOKEN=abc", {{L"TOKEN", L"abc"}}},
        {"quoted_value_with_space", L"p --name=\"a b\" --x=1", {{L"name", L"a b"}, {L"x", L"1"}}},
        {"quoted_after_colon", L"p --name:\"x\"", {{L"name", L"x"}}},
        {"separators_inside_value", L"p --path=a:b=c", {{L"path", L"a:b=c"}}},
        {"only_first_prefix_removed", L"p ---x=1", {{L"-x", L"1"}}},
        {"runs_of_spaces", L"p   --a=1    --b=2", {{L"a", L"1"}, {L"b", L"2"}}},
        {"tabs_do_not_separate", L"p --a=1\t--b=2", {{L"a", L"1\t--b=2"}}},
        {"unclosed_quote_runs_to_end", L"p --a=\"x y --b=2", {{L"a", L"x y --b=2"}}},
        {"nested_quotes", L"p --a=\"k=\"v\" w\" --b=2", {{L"a", L"k=\"v\" w"}, {L"b", L"2"}}},
        {"char_after_closing_quote_is_eaten", L"p --a=\"x\"y--b=2", {{L"a", L"x"}, {L"b", L"2"}}},
        {"empty_value", L"p --userID=", {{L"userID", L""}}},
        {"no_prefix_ignored", L"p token=abc", {}},
        {"chinese", L"p --name=玩家", {{L"name", L"玩家"}}},
    }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CmdLineParser, GetValueCopiesOrGivesEmpty) {
    const CCmdLineParser parser(L"p --token=abc");
    EXPECT_EQ(parser.GetValue(L"token"), L"abc");
    EXPECT_EQ(parser.GetValue(L"userID"), L"");
    EXPECT_FALSE(parser.HasKey(L"userID"));
}

}  // namespace
