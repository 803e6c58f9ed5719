#pragma once
// Rectangles, sizes and the value syntax of the layout markup.
#include <cstdint>
#include <optional>
#include <string_view>

namespace uikit {

struct UIRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const UIRect&) const = default;
};

struct UISize {
    int cx = 0, cy = 0;
    bool operator==(const UISize&) const = default;
};

// "l,t,r,b": four comma-separated integers; nullopt when the text has fewer.
std::optional<UIRect> ParseRect(std::string_view text);
// "cx,cy".
std::optional<UISize> ParseSize(std::string_view text);
// A decimal integer at the start of the text, as the markup reads numbers (0 when none).
int ParseInt(std::string_view text);
// True only for the exact text "true".
inline bool ParseBool(std::string_view text) { return text == "true"; }
// An optional "#" and hexadecimal digits, read as 0xAARRGGBB.
std::uint32_t ParseColor(std::string_view text);

// A fill colour is drawn only above 0x00FFFFFF: six-digit colours have no alpha and stay
// invisible.
inline bool IsVisibleFill(std::uint32_t color) { return color > 0x00FFFFFF; }

}  // namespace uikit
