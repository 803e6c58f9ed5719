#include "XmlSafety.h"

#include <algorithm>

namespace platform {

namespace {

std::size_t SkipPast(std::string_view xml, std::size_t from, std::string_view end) {
    const std::size_t found = xml.find(end, from);
    return found == std::string_view::npos ? xml.size() : found + end.size();
}

}  // namespace

std::size_t MaxElementNesting(std::string_view xml) {
    std::size_t depth = 0;
    std::size_t deepest = 0;
    std::size_t i = 0;
    while ((i = xml.find('<', i)) != std::string_view::npos) {
        const std::string_view rest = xml.substr(i);
        if (rest.starts_with("<!--")) {
            i = SkipPast(xml, i + 4, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            i = SkipPast(xml, i + 9, "]]>");
        } else if (rest.starts_with("<?") || rest.starts_with("<!")) {
            i = SkipPast(xml, i + 2, ">");
        } else if (rest.starts_with("</")) {
            if (depth > 0) --depth;
            i = SkipPast(xml, i + 2, ">");
        } else {
            deepest = std::max(deepest, ++depth);
            // Walk the start tag, skipping quoted values, to see whether it closes itself.
            std::size_t j = i + 1;
            char previous = 0;
            while (j < xml.size() && xml[j] != '>') {
                if (xml[j] == '"' || xml[j] == '\'') {
                    const std::size_t close = xml.find(xml[j], j + 1);
                    j = close == std::string_view::npos ? xml.size() : close;
                }
                previous = xml[j < xml.size() ? j : xml.size() - 1];
                ++j;
            }
            if (previous == '/' && depth > 0) --depth;
            i = j;
        }
    }
    return deepest;
}

std::string PaddedForXmlParser(std::string_view text) {
    std::string padded(text);
    padded.append(4, '\0');
    return padded;
}

}  // namespace platform
