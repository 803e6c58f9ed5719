#include "CmdParam.h"

#include "Text.h"

#include <gtest/gtest.h>

namespace {

struct CmdRow {
    const char* name;
    std::vector<std::wstring> arguments;  // after the program path
    std::wstring expected;
};

void PrintTo(const CmdRow& row, std::ostream* out) { *out << row.name; }

class ParseCmdParamRows : public ::testing::TestWithParam<CmdRow> {};

TEST_P(ParseCmdParamRows, GivesTheJsonCommandText) {
    std::vector<std::wstring> argv = {L"/opt/vornakel/vornakel_main"};
    argv.insert(argv.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    std::wstring output = L"untouched";
    ASSERT_TRUE(ParseCmdParam(output, platform::BuildCommandLine(argv)));
    EXPECT_EQ(output, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseCmdParamRows,
    ::testing::ValuesIn(std::vector<CmdRow>{
        {"options_fold_into_sorted_object", {L"--source=TW", L"--winid=1050", L"--token=abc"},
         L"{\"source\":\"TW\",\"token\":\"abc\",\"winid\":\"1050\"}\n"},
        {"no_arguments_is_the_program_path", {}, L"/opt/vornakel/vornakel_main"},
        {"single_json_argument_unchanged", {L"{\"token\":\"t\",\"gameMgrId\":\"7\"}"},
         L"{\"token\":\"t\",\"gameMgrId\":\"7\"}"},
        {"single_token_option_not_recognised", {L"--token=abc"}, L"--token=abc"},
        {"single_installed_option_folded", {L"--installed=1"}, L"{\"installed\":\"1\"}\n"},
        {"value_keeps_further_equals", {L"--source=a=b", L"x"}, L"{\"source\":\"a=b\"}\n"},
        {"fixed_order_winid_first", {L"x--winid=5--source=TW", L"y"}, L"{\"winid\":\"5--source=TW\"}\n"},
        {"tokenLogin_is_not_token", {L"--tokenLogin=1", L"y"}, L"{\"tokenLogin\":\"1\"}\n"},
        {"later_option_wins", {L"--source=A", L"--source=B"}, L"{\"source\":\"B\"}\n"},
        {"quoted_value_keeps_its_space", {L"--instGamePath=D:\\My Games", L"--source=TW"},
         L"{\"instGamePath\":\"D:\\\\My Games\",\"source\":\"TW\"}\n"},
        {"empty_value", {L"--token=", L"--twext="}, L"{\"token\":\"\",\"twext\":\"\"}\n"},
        {"unknown_options_give_empty_object", {L"--foo=1", L"--bar=2"}, L"{}\n"},
        {"quotes_are_escaped", {L"--twext=a\"b", L"y"}, L"{\"twext\":\"a\\\"b\"}\n"},
    }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetOptionFromArg, MatchesThePrefixAnywhere) {
    Json::Value object(Json::objectValue);
    EXPECT_FALSE(SetOptionFromArg(L"--tokenLogin=1", object, L"--token=", "token"));
    EXPECT_TRUE(SetOptionFromArg(L"ab--token=x=y", object, L"--token=", "token"));
    EXPECT_EQ(object["token"].asString(), "x=y");
    EXPECT_TRUE(SetOptionFromArg(L"--token=", object, L"--token=", "token"));
    EXPECT_EQ(object["token"].asString(), "");
}

}  // namespace
