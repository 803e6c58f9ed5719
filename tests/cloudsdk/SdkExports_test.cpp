#include "SdkExports.h"

#include "TokenCodec.h"

#include "Text.h"

#include <gtest/gtest.h>

namespace {

const std::string kPlainToken = "玩家-token-0123456789";

std::wstring CommandLineWithToken(const std::string& token) {
    return L"/opt/game/client --token=" + platform::AnsiToWide(token) + L" --other=1";
}

TEST(GetTokenBuff, CopiesTheDecodedTokenWhenItFits) {
    const std::wstring line = CommandLineWithToken(EncodePayUrl(kPlainToken));
    std::vector<char> buffer(kPlainToken.size() + 1, 'x');
    EXPECT_EQ(GetTokenBuffFromCommandLine(line, buffer.data(), static_cast<std::uint32_t>(buffer.size())), 1);
    EXPECT_EQ(std::string(buffer.data()), kPlainToken);
    // Parsed afresh each time: a repeat call gives the same.
    EXPECT_EQ(GetTokenBuffFromCommandLine(line, buffer.data(), static_cast<std::uint32_t>(buffer.size())), 1);
    EXPECT_EQ(std::string(buffer.data()), kPlainToken);
}

TEST(GetTokenBuff, BufferRules) {
    const std::wstring line = CommandLineWithToken(EncodePayUrl(kPlainToken));
    std::vector<char> tooSmall(kPlainToken.size(), 'x');  // one byte short of the terminator
    EXPECT_EQ(GetTokenBuffFromCommandLine(line, tooSmall.data(), static_cast<std::uint32_t>(tooSmall.size())), 0);
    EXPECT_EQ(tooSmall[0], '\0');
    EXPECT_EQ(tooSmall[1], 'x');

    EXPECT_EQ(GetTokenBuffFromCommandLine(line, nullptr, 100), 0);
    char untouched = 'x';
    EXPECT_EQ(GetTokenBuffFromCommandLine(line, &untouched, 0), 0);
    EXPECT_EQ(untouched, 'x');
}

TEST(GetTokenBuff, CopyStopsAtTheFirstZeroByte) {
    const std::wstring line = CommandLineWithToken(EncodePayUrl(std::string("ab\0cd", 5)));
    char buffer[3] = {'x', 'x', 'x'};
    EXPECT_EQ(GetTokenBuffFromCommandLine(line, buffer, 3), 1);
    EXPECT_STREQ(buffer, "ab");
}

TEST(GetTokenBuff, BadOrMissingTokensLeaveTheBufferAlone) {
    for (const std::wstring& line : {std::wstring(L"/opt/game/client --other=1"), std::wstring(L"p --token="),
                                     std::wstring(L"p --token=bm90IGEgdG9rZW4="), std::wstring(L"p --TOKEN=abc"),
                                     std::wstring()}) {
        char buffer[8] = "keep";
        EXPECT_EQ(GetTokenBuffFromCommandLine(line, buffer, sizeof(buffer)), 0) << platform::WideToUtf8(line);
        EXPECT_STREQ(buffer, "keep");
    }
}

TEST(GoPayUrl, EmptyAddressesAreRefusedWithoutAChannel) {
    EXPECT_EQ(GoPayUrl(nullptr), 0);
    EXPECT_EQ(GoPayUrl(""), 0);
}

}  // namespace
