#pragma once
// Single DES in CBC mode with the SDK key as key and initialisation vector, and the block
// filling shared with the cloud platform.
#include <optional>
#include <string>
#include <string_view>

// Always adds 1 to 8 filler bytes of value (added count), then encrypts.
std::string DesCbcEncrypt(std::string_view plain);

// Decrypts whole 8-byte blocks. When the last byte p is 1 to 8, the last p bytes must all be
// p and are removed; 0 or above 8 keeps everything. Empty input, input that is not whole
// blocks, or a mismatching filler gives nullopt.
std::optional<std::string> DesCbcDecrypt(std::string_view cipher);
