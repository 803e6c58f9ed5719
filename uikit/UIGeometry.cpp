#include "UIGeometry.h"

#include <cstdlib>
#include <string>

namespace uikit {
namespace {

// Reads count comma-separated integers in the manner of strtol: white space and a sign
// allowed before each, anything after the digits up to the next comma ignored.
bool ReadIntegers(std::string_view text, int* out, int count) {
    const std::string copy(text);
    const char* cursor = copy.c_str();
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        const long value = std::strtol(cursor, &end, 10);
        if (end == cursor) return false;
        out[i] = static_cast<int>(value);
        cursor = end;
        if (i + 1 < count) {
            while (*cursor != '\0' && *cursor != ',') ++cursor;
            if (*cursor != ',') return false;
            ++cursor;
        }
    }
    return true;
}

}  // namespace

std::optional<UIRect> ParseRect(std::string_view text) {
    int values[4];
    if (!ReadIntegers(text, values, 4)) return std::nullopt;
    return UIRect{values[0], values[1], values[2], values[3]};
}

std::optional<UISize> ParseSize(std::string_view text) {
    int values[2];
    if (!ReadIntegers(text, values, 2)) return std::nullopt;
    return UISize{values[0], values[1]};
}

int ParseInt(std::string_view text) {
    const std::string copy(text);
    return static_cast<int>(std::strtol(copy.c_str(), nullptr, 10));
}

std::uint32_t ParseColor(std::string_view text) {
    if (text.starts_with('#')) text.remove_prefix(1);
    const std::string copy(text);
    return static_cast<std::uint32_t>(std::strtoul(copy.c_str(), nullptr, 16));
}

}  // namespace uikit
