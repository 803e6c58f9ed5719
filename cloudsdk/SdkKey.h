#pragma once

// The 8-byte key shared with the cloud platform: the DES key and the CBC initialisation
// vector of every call. Tokens can be read, and addresses understood, only with the same key.
inline constexpr char kSdkKey[] = "Hd4!w9Ks";
static_assert(sizeof(kSdkKey) == 9, "the SDK key is 8 bytes");
