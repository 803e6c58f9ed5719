#include "LogRedaction.h"

#include "Text.h"

#include <gtest/gtest.h>

namespace {

TEST(LogRedaction, TokensNeverReachTheLog) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"--token=secret", L"--token=<redacted, 6 chars>"},
        {L"szArgList:x--winid=5--token=abc", L"szArgList:x--winid=5--token=<redacted, 3 chars>"},
        {L"{\"source\":\"TW\",\"token\":\"abcd\",\"winid\":\"1\"}\n",
         L"{\"source\":\"TW\",\"token\":\"<redacted, 4 chars>\",\"winid\":\"1\"}\n"},
        {L"{ \"token\" : \"a\\\"b\" }", L"{ \"token\" : \"<redacted, 4 chars>\" }"},
        {L"{\"token\":5,\"twext\":\"x\"}", L"{\"token\":5,\"twext\":\"x\"}"},  // not a string: not the token
        {L"{\"twext\":\"--token=abc\",\"a\":\"b\"}", L"{\"twext\":\"--token=<redacted, 3 chars>\",\"a\":\"b\"}"},
        {L"{\"token\":\"unterminated", L"{\"token\":\"<redacted, 12 chars>"},
        {L"--tokenLogin=1", L"--tokenLogin=1"},
        {L"m_strCmdJson is empty", L"m_strCmdJson is empty"},
        {L"{\"tokenLogin\":\"1\"}", L"{\"tokenLogin\":\"1\"}"},
    };
    for (const auto& [input, expected] : rows) {
        EXPECT_EQ(RedactSecrets(input), expected) << platform::WideToUtf8(input);
    }
}

}  // namespace
