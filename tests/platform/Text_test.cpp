#include "Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, AnsiRoundTripKeepsChineseAndEmpty) {
    for (const std::wstring& text : {std::wstring(), std::wstring(L"TW"), std::wstring(L"网络异常 D:\\游戏")}) {
        EXPECT_EQ(platform::AnsiToWide(platform::WideToMultiByte(platform::CP_ACP, text)), text);
    }
    EXPECT_EQ(platform::WideToMultiByte(platform::CP_UTF8, L"释放"), "\xE9\x87\x8A\xE6\x94\xBE");
}

TEST(Text, InvalidInputIsReplacedNotDropped) {
    EXPECT_EQ(platform::AnsiToWide("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(platform::AnsiToWide("\xE9\x87"), L"\uFFFD\uFFFD");  // truncated sequence
    EXPECT_EQ(platform::WideToMultiByte(platform::CP_ACP, std::wstring(1, static_cast<wchar_t>(0xD800))), "?");
}

struct ReplaceRow {
    const wchar_t* text;
    const wchar_t* search;
    const wchar_t* replacement;
    const wchar_t* expected;
};

TEST(Text, ReplaceAllResumesAfterEachReplacement) {
    const ReplaceRow rows[] = {
        {L"a/b/c", L"/", L"\\", L"a\\b\\c"},
        {L"aaa", L"a", L"aa", L"aaaaaa"},  // never rescans the inserted text
        {L"abab", L"ab", L"", L""},
        {L"abc", L"", L"x", L"abc"},
        {L"xyz", L"q", L"r", L"xyz"},
    };
    for (const ReplaceRow& row : rows) {
        std::wstring text = row.text;
        platform::ReplaceAll(text, row.search, row.replacement);
        EXPECT_EQ(text, row.expected) << "input " << platform::WideToUtf8(row.text);
    }
}

TEST(Text, LeadingDecimalLikeAHandleConversion) {
    const std::pair<const wchar_t*, std::int32_t> rows[] = {
        {L"1050", 1050},   {L"  -5", -5},         {L"+7x", 7},          {L"12abc", 12},
        {L"abc", 0},       {L"", 0},              {L"\t\n 42", 42},     {L"- 5", 0},
        {L"2147483647", 2147483647},               {L"99999999999", 2147483647},
        {L"-2147483648", -2147483647 - 1},         {L"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(platform::ParseLeadingInt32(text), expected) << platform::WideToUtf8(text);
    }
}

TEST(Text, Utf16CountsSurrogatePairs) {
    EXPECT_EQ(platform::WideToUtf16(L"1"), u"1");
    EXPECT_EQ(platform::WideToUtf16(L"\U0001F600").size(), 2u);
}

}  // namespace
