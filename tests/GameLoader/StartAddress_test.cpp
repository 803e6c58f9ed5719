#include "StartAddress.h"

#include "Text.h"

#include <gtest/gtest.h>

namespace {

struct AddressRow {
    const char* name;
    std::wstring fileParam;
    LaunchParameters params;
    std::wstring query;
};

void PrintTo(const AddressRow& row, std::ostream* out) { *out << row.name; }

LaunchParameters With(std::wstring token, std::wstring source, std::wstring twext, std::wstring tokenLogin) {
    LaunchParameters params;
    params.m_strToken = std::move(token);
    params.m_strSource = std::move(source);
    params.m_strTwExt = std::move(twext);
    params.m_strTokenLogin = std::move(tokenLogin);
    params.m_strWinId = L"1050";  // never part of the address
    return params;
}

class StartAddressRows : public ::testing::TestWithParam<AddressRow> {};

TEST_P(StartAddressRows, QueryHasItsPartsInOrderUnencoded) {
    const std::wstring base = L"https://site.example/client/index/vornakel";
    EXPECT_EQ(BuildStartAddress(base, GetParam().fileParam, GetParam().params), base + GetParam().query);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartAddressRows,
    ::testing::ValuesIn(std::vector<AddressRow>{
        {"file_parameter_only", L"abc", With(L"", L"", L"", L""), L"?fileparam=abc"},
        {"nothing_at_all", L"", With(L"", L"", L"", L""), L"?fileparam="},
        {"token_and_login_flag", L"", With(L"t1", L"", L"", L"0"), L"?fileparam=&token=t1&tokenLogin=0"},
        {"every_part", L"f p", With(L"t&1", L"TW", L"a=b", L"1"), L"?fileparam=f p&token=t&1&source=TW&twext=a=b&tokenLogin=1"},
        {"chinese_is_kept", L"", With(L"令牌", L"", L"", L""), L"?fileparam=&token=令牌"},
    }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartAddress, ABaseWithAQueryTakesTheFileParameterAfterAnAmpersand) {
    EXPECT_EQ(BuildStartAddress(L"https://s/x?a=1", L"p", LaunchParameters{}), L"https://s/x?a=1&fileparam=p");
}

TEST(StartAddress, TheGameSiteComesFromTheBuild) {
    EXPECT_EQ(GameSiteBaseAddress(), platform::Utf8ToWide(VK_GAME_SITE "/client/index/vornakel"));
    EXPECT_EQ(GameSiteOrigin(), platform::Utf8ToWide(VK_GAME_SITE));
}

}  // namespace
