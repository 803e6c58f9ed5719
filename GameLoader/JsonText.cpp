#include "JsonText.h"

#include <json/reader.h>

bool ParseJsonText(const std::string& text, Json::Value& root) {
    try {
        Json::Reader reader;
        if (!reader.parse(text, root)) return false;
        const auto limit = static_cast<std::size_t>(root.getOffsetLimit());
        return limit <= text.size() && text.find_first_not_of(" \t\r\n", limit) == std::string::npos;
    } catch (...) {
        return false;
    }
}
