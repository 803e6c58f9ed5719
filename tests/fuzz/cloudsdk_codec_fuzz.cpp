// Arbitrary tokens through the strict Base64 decoder and the token decoder: no read or write
// outside a buffer, and whatever decodes must encode back.
#include "Base64.h"
#include "TokenCodec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string bytes = Base64Decode(text);
    if (!bytes.empty() && Base64Encode(bytes) != text) std::abort();
    const std::string plain = DecodeToken(text);
    if (!plain.empty() && DecodeToken(EncodePayUrl(plain)) != plain) std::abort();
    return 0;
}
