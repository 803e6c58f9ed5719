#include "UIImageString.h"

#include <algorithm>

namespace uikit {

ImageDrawSpec ParseImageString(std::string_view text) {
    ImageDrawSpec drawing;
    drawing.file = std::string(text);
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t equals = text.find('=', i);
        if (equals == std::string_view::npos || equals + 1 >= text.size() || text[equals + 1] != '\'') break;
        const std::size_t close = text.find('\'', equals + 2);
        if (close == std::string_view::npos) break;
        const std::string_view key = text.substr(i, equals - i);
        const std::string_view value = text.substr(equals + 2, close - equals - 2);
        i = close + 1;
        if (key == "file") {
            drawing.file = std::string(value);
        } else if (key == "corner") {
            if (auto rect = ParseRect(value)) drawing.corner = *rect;
        } else if (key == "dest") {
            drawing.dest = ParseRect(value);
        } else if (key == "source") {
            drawing.source = ParseRect(value);
        } else if (key == "mask") {
            drawing.mask = ParseColor(value);
        } else if (key == "fade") {
            drawing.fade = std::clamp(ParseInt(value), 0, 255);
        } else if (key == "hole") {
            drawing.hole = ParseBool(value);
        } else if (key == "xtiled") {
            drawing.xtiled = ParseBool(value);
        } else if (key == "ytiled") {
            drawing.ytiled = ParseBool(value);
        }
    }
    return drawing;
}

}  // namespace uikit
