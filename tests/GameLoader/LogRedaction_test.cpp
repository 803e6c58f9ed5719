#include "LogRedaction.h"

#include "Text.h"

#include <gtest/gtest.h>

namespace {

struct RedactionRow {
    const char* name;
    std::wstring input;
    std::wstring expected;
};

void PrintTo(const RedactionRow& row, std::ostream* out) { *out << row.name; }

class Redaction : public ::testing::TestWithParam<RedactionRow> {};

TEST_P(Redaction, TokensNeverReachTheLogAndTheRestStaysAsItIs) {
    EXPECT_EQ(RedactTokens(GetParam().input), GetParam().expected);
}

const RedactionRow kRows[] = {
    {"option", L"--token=secret", L"--token=<redacted, 6 chars>"},
    {"option_after_other_text", L"x--winid=5--token=abc", L"x--winid=5--token=<redacted, 3 chars>"},
    {"option_counts_characters", L"--token=秘密token", L"--token=<redacted, 7 chars>"},
    {"option_is_not_the_login_flag", L"--tokenLogin=1", L"--tokenLogin=1"},
    {"command_json", L"{\"source\":\"TW\",\"token\":\"abcd\",\"winid\":\"1\"}\n",
     L"{\"source\":\"TW\",\"token\":\"<redacted, 4 chars>\",\"winid\":\"1\"}\n"},
    {"escaped_quote_counts_once", L"{\"token\":\"a\\\"b\"}", L"{\"token\":\"<redacted, 3 chars>\"}"},
    {"unicode_escapes_count_as_characters", L"{\"token\":\"\\u79d8\\u5bc6token\"}\n",
     L"{\"token\":\"<redacted, 7 chars>\"}\n"},
    {"surrogate_pair_is_one_character", L"{\"token\":\"\\ud83d\\ude00x\"}", L"{\"token\":\"<redacted, 2 chars>\"}"},
    {"key_written_with_escapes", L"{\"t\\u006fken\":\"SECRET\"}", L"{\"t\\u006fken\":\"<redacted, 6 chars>\"}"},
    {"comment_before_the_value", L"{\"token\":/*c*/\"SECRET\"}", L"{\"token\":/*c*/\"<redacted, 6 chars>\"}"},
    {"line_comment_before_the_value", L"{\"token\": // c\n \"SECRET\"}", L"{\"token\": // c\n \"<redacted, 6 chars>\"}"},
    {"comment_that_looks_like_a_key", L"{/*\"token\":\"*/\"token\":\"SECRET\"}",
     L"{/*\"token\":\"*/\"token\":\"<redacted, 6 chars>\"}"},
    {"blanks_around_the_colon", L"{ \"token\" : \"a\\\"b\" }", L"{ \"token\" : \"<redacted, 3 chars>\" }"},
    {"every_member_of_the_name", L"{\"token\":\"A\",\"token\":\"BB\"}",
     L"{\"token\":\"<redacted, 1 chars>\",\"token\":\"<redacted, 2 chars>\"}"},
    {"a_value_named_token_is_no_key", L"{\"a\":\"token\",\"b\":\"x\"}", L"{\"a\":\"token\",\"b\":\"x\"}"},
    {"not_a_string_is_not_the_token", L"{\"token\":5,\"twext\":\"x\"}", L"{\"token\":5,\"twext\":\"x\"}"},
    {"other_members_stay", L"{\"twext\":\"--token=abc\",\"a\":\"b\"}", L"{\"twext\":\"--token=abc\",\"a\":\"b\"}"},
    {"unterminated_value", L"{\"token\":\"unterminated", L"{\"token\":\"<redacted, 12 chars>"},
    {"nested_object", L"[{\"token\":\"ab\"}]", L"[{\"token\":\"<redacted, 2 chars>\"}]"},
    {"login_flag_member", L"{\"tokenLogin\":\"1\"}", L"{\"tokenLogin\":\"1\"}"},
    {"no_token_at_all", L"m_strCmdJson is empty", L"m_strCmdJson is empty"},
};

INSTANTIATE_TEST_SUITE_P(Rows, Redaction, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<RedactionRow>& info) { return std::string(info.param.name); });

}  // namespace
