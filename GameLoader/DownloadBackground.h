#pragma once
// The download page's background by game code: the first of these codes that equals the
// game code exactly names the image; other games keep the page's plain background.
#include <string_view>

struct DownloadBackground {
    std::string_view gameCode;
    std::string_view image;
};

inline constexpr DownloadBackground kDownloadBackgrounds[] = {
    {"dovr", "dovr_download_bk.jpg"},
    {"mirt", "mirt_download_bk.jpg"},
    {"osse", "osse_download_bk.jpg"},
};

// The background image for the game code, or empty when it has none.
constexpr std::string_view DownloadBackgroundFor(std::string_view gameCode) {
    for (const DownloadBackground& background : kDownloadBackgrounds) {
        if (background.gameCode == gameCode) return background.image;
    }
    return {};
}
