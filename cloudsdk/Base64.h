#pragma once
#include <string>
#include <string_view>

// Standard Base64 (RFC 4648 alphabet, "=" filling, no line breaks).
std::string Base64Encode(std::string_view bytes);

// A strict decoder: the length must be a positive multiple of 4, only alphabet characters,
// "=" only at the end of the last group (fourth alone, or third and fourth), and the bits
// left over by the filling must be zero. Any violation gives an empty result.
std::string Base64Decode(std::string_view text);
