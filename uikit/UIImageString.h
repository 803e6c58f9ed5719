#pragma once
// Image strings of the markup: a bare entry name, or blank-separated key='value' pairs
// (file, corner, dest, source, mask, fade, hole, xtiled, ytiled).
#include "UIGeometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace uikit {

struct ImageDrawSpec {
    std::string file;
    UIRect corner;                  // nine-patch margins
    std::optional<UIRect> dest;     // relative to the control; default the whole control
    std::optional<UIRect> source;   // part of the image; default all of it
    std::optional<std::uint32_t> mask;
    int fade = 255;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;

    bool operator==(const ImageDrawSpec&) const = default;
};

// The whole string is first the file name; the pairs, when there are any, override it.
ImageDrawSpec ParseImageString(std::string_view text);

}  // namespace uikit
