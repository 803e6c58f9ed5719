#include "StartAddress.h"

#include "GameCode.h"

#include "Text.h"

#ifndef VK_GAME_SITE
#error "VK_GAME_SITE, the game site's https address, is a build setting"
#endif

namespace {

constexpr std::string_view kScheme = "https://";

// The site as the build names it, without its scheme.
constexpr std::string_view SiteHost() {
    constexpr std::string_view site = VK_GAME_SITE;
    static_assert(site.starts_with("https://"), "VK_GAME_SITE must be an https address");
    return site.substr(kScheme.size());
}

}  // namespace

std::wstring GameSiteBaseAddress() {
    const std::string base = std::string(kScheme) + std::string(SiteHost()) + "/client/index/" + kGameCode;
    return platform::AnsiToWide(base);
}

std::wstring GameSiteOrigin() {
    std::string host(SiteHost());
    if (host.ends_with(":443")) host.resize(host.size() - 4);  // the default port, as browsers leave it out
    return platform::Utf8ToWide(std::string(kScheme) + host);
}

std::wstring BuildStartAddress(std::wstring_view baseAddress, const std::wstring& fileParam, const LaunchParameters& params) {
    std::wstring address(baseAddress);
    address += address.find(L'?') == std::wstring::npos ? L"?fileparam=" : L"&fileparam=";
    address += fileParam;
    const std::pair<const wchar_t*, const std::wstring*> parts[] = {
        {L"&token=", &params.m_strToken},
        {L"&source=", &params.m_strSource},
        {L"&twext=", &params.m_strTwExt},
        {L"&tokenLogin=", &params.m_strTokenLogin},
    };
    for (const auto& [name, value] : parts) {
        if (!value->empty()) address += name + *value;
    }
    return address;
}
