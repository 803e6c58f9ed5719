#include "DesCbc.h"

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// Vectors computed with the openssl command line (see the fixture's first line).
std::vector<std::pair<std::string, std::string>> KnownAnswers() {
    std::istringstream lines(ReadWholeFile(std::string(VK_TEST_DATA_DIR) + "/cloudsdk/des_cbc_vectors.txt"));
    std::vector<std::pair<std::string, std::string>> vectors;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space = line.find(' ');
        const std::string plain = line.substr(0, space);
        vectors.emplace_back(plain == "-" ? "" : FromHex(plain), FromHex(line.substr(space + 1)));
    }
    return vectors;
}

TEST(DesCbc, MatchesIndependentlyComputedVectors) {
    const auto vectors = KnownAnswers();
    ASSERT_GE(vectors.size(), 9u);
    for (const auto& [plain, cipher] : vectors) {
        EXPECT_EQ(DesCbcEncrypt(plain), cipher);
        const std::optional<std::string> decrypted = DesCbcDecrypt(cipher);
        ASSERT_TRUE(decrypted.has_value());
        EXPECT_EQ(*decrypted, plain);
    }
}

TEST(DesCbc, AlwaysAddsOneToEightFillerBytes) {
    for (std::size_t length = 0; length <= 24; ++length) {
        EXPECT_EQ(DesCbcEncrypt(std::string(length, 'x')).size(), length - length % 8 + 8) << length;
    }
}

// The CBC encryption of whole blocks is a prefix of the encryption of the same blocks with
// filler added; that gives ciphertexts whose plain text ends however a test needs.
std::string CipherOfWholeBlocks(const std::string& plain) { return DesCbcEncrypt(plain).substr(0, plain.size()); }

TEST(DesCbc, FillerRules) {
    const std::string body = "payload!";
    const std::pair<std::string, std::optional<std::string>> rows[] = {
        {body + std::string(7, 'z') + '\0', body + std::string(7, 'z') + '\0'},   // last byte 0: kept whole
        {body + std::string(7, 'z') + '\x09', body + std::string(7, 'z') + '\x09'}, // above 8: kept whole
        {body + std::string(7, 'z') + '\xff', body + std::string(7, 'z') + '\xff'},
        {body + std::string(5, 'z') + "\x03\x03\x03", body + std::string(5, 'z')},   // proper filler removed
        {body + std::string(5, 'z') + "\x03\x01\x03", std::nullopt},                 // mismatching filler
        {body + std::string(5, 'z') + "\x02\x03\x03", std::nullopt},
        {body + std::string(8, '\x08'), body},
    };
    for (const auto& [plain, expected] : rows) EXPECT_EQ(DesCbcDecrypt(CipherOfWholeBlocks(plain)), expected);
}

TEST(DesCbc, BrokenCiphertextIsRefused) {
    for (const std::string& cipher : {std::string(), std::string(7, 'a'), std::string(9, 'a'), std::string(15, 'a')}) {
        EXPECT_FALSE(DesCbcDecrypt(cipher).has_value()) << cipher.size();
    }
}

}  // namespace
