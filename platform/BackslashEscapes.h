#pragma once
// Backslash escapes for the small text formats the platform writes (window records, hive
// files): each listed character is written as a backslash and its code letter.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

struct EscapePair {
    char plain;
    char code;
};

std::string EscapeWith(std::string_view text, std::span<const EscapePair> escapes);
// nullopt for a backslash at the end or before a code that is not listed.
std::optional<std::string> UnescapeWith(std::string_view text, std::span<const EscapePair> escapes);

}  // namespace platform
