#include "BackslashEscapes.h"

namespace platform {

std::string EscapeWith(std::string_view text, std::span<const EscapePair> escapes) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        bool escaped = false;
        for (const EscapePair& pair : escapes) {
            if (pair.plain == c) {
                out += '\\';
                out += pair.code;
                escaped = true;
                break;
            }
        }
        if (!escaped) out += c;
    }
    return out;
}

std::optional<std::string> UnescapeWith(std::string_view text, std::span<const EscapePair> escapes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        bool known = false;
        for (const EscapePair& pair : escapes) {
            if (pair.code == text[i]) {
                out += pair.plain;
                known = true;
                break;
            }
        }
        if (!known) return std::nullopt;
    }
    return out;
}

}  // namespace platform
