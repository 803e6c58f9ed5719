#include "TokenCodec.h"

#include "Base64.h"
#include "DesCbc.h"

#include <gtest/gtest.h>

namespace {

TEST(TokenCodec, EncodedLengthFollowsTheBlockCount) {
    EXPECT_EQ(EncodePayUrl("1234567").size(), 16u);
    EXPECT_EQ(EncodePayUrl("12345678").size(), 32u);
    EXPECT_EQ(EncodePayUrl("123456789012345").size(), 32u);
    EXPECT_EQ(EncodePayUrl("https://pay.example/a"), "bDNtM2VIUmF0aVpHSllsaHhOQ05ZZFU3RHZBRHE2dGw=");  // openssl CLI
}

TEST(TokenCodec, RoundTripsEveryLength) {
    std::string address;
    for (int length = 1; length <= 600; ++length) {
        address += static_cast<char>(1 + (length * 37) % 255);
        EXPECT_EQ(DecodeToken(EncodePayUrl(address)), address) << length;
    }
    EXPECT_EQ(DecodeToken(EncodePayUrl("支付 token")), "支付 token");
}

TEST(TokenCodec, MalformedTokensDecodeToNothing) {
    const std::string valid = EncodePayUrl("token-0123");
    const std::string rows[] = {
        "",
        valid.substr(0, valid.size() - 4),
        valid + "\n",
        "bad token!",
        Base64Encode(Base64Encode("short")),                 // not whole blocks
        Base64Encode(Base64Encode("")),                      // nothing to decrypt
        Base64Encode("not base64 inside"),                   // second layer refuses
        EncodePayUrl(std::string("\0rest", 5)),              // plain text begins with a zero byte
    };
    for (const std::string& token : rows) EXPECT_EQ(DecodeToken(token), "") << token;
}

TEST(TokenCodec, ZeroByteInsideIsKeptForTheCallerToCut) {
    EXPECT_EQ(DecodeToken(EncodePayUrl(std::string("ab\0cd", 5))), std::string("ab\0cd", 5));
}

}  // namespace
