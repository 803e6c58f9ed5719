#include "Base64.h"

#include <gtest/gtest.h>

namespace {

TEST(Base64, EncodesStandardAlphabetWithFilling) {
    const std::pair<std::string, std::string> rows[] = {
        {"", ""}, {"a", "YQ=="}, {"ab", "YWI="}, {"abc", "YWJj"}, {"YWJj", "WVdKag=="},
        {std::string("\xfb\xff\xfe", 3), "+//+"}, {std::string(57, 'x'), [] {
             std::string text;
             for (int i = 0; i < 19; ++i) text += "eHh4";
             return text;
         }()},
    };
    for (const auto& [bytes, text] : rows) EXPECT_EQ(Base64Encode(bytes), text) << bytes;
}

struct DecodeRow {
    const char* name;
    std::string text;
    std::string expected;  // empty: refused
};

void PrintTo(const DecodeRow& row, std::ostream* out) { *out << row.name; }

class Base64DecodeRows : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(Base64DecodeRows, IsStrict) { EXPECT_EQ(Base64Decode(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Rows, Base64DecodeRows,
    ::testing::ValuesIn(std::vector<DecodeRow>{
        {"three_bytes", "YWJj", "abc"},
        {"two_bytes", "YWI=", "ab"},
        {"one_byte", "YQ==", "a"},
        {"two_layers", "WVdKag==", "YWJj"},
        {"high_bits", "+//+", "\xfb\xff\xfe"},
        {"empty", "", ""},
        {"length_not_multiple_of_four", "YWJ", ""},
        {"filler_in_second_place", "Y=Jj", ""},
        {"third_filler_alone", "YQ=x", ""},
        {"leftover_bits_two_fillers", "YR==", ""},
        {"leftover_bits_one_filler", "YWJ=", ""},
        {"space", "YW J", ""},
        {"line_break", "YWJj\nYWJj", ""},
        {"crlf_at_end", "YWJj\r\n", ""},
        {"filler_before_last_group", "YQ==YWJj", ""},
        {"all_fillers", "====", ""},
        {"url_safe_alphabet", "-_-_", ""},
        {"nul_byte", std::string("YW\0j", 4), ""},
    }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Base64, RoundTripsEveryLengthAndByte) {
    std::string bytes;
    for (int length = 0; length < 300; ++length) {
        EXPECT_EQ(Base64Decode(Base64Encode(bytes)), bytes) << length;
        bytes += static_cast<char>((length * 131 + 7) & 0xFF);
    }
}

}  // namespace
