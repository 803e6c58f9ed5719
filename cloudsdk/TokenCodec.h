#pragma once
// The encoding shared with the cloud platform: DES-CBC under two layers of Base64.
#include <string>
#include <string_view>

// Encoded token text to its plain bytes (full length). Empty on any failure, and when the
// plain text begins with a zero byte.
std::string DecodeToken(std::string_view token);

// Address bytes to the encoded ASCII text.
std::string EncodePayUrl(std::string_view address);
