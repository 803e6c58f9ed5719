#include "TokenCodec.h"

#include "Base64.h"
#include "DesCbc.h"

std::string DecodeToken(std::string_view token) {
    const std::optional<std::string> plain = DesCbcDecrypt(Base64Decode(Base64Decode(token)));
    if (!plain || plain->empty() || plain->front() == '\0') return {};
    return *plain;
}

std::string EncodePayUrl(std::string_view address) {
    return Base64Encode(Base64Encode(DesCbcEncrypt(address)));
}
