// Arbitrary bytes from another process's connection and arbitrary window records.
#include "MessageWire.h"
#include "WindowRegistry.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    platform::WireMessage message;
    if (platform::DecodeMessage(bytes, message) == platform::DecodeStatus::Complete) {
        // What decodes must encode back to the same frame.
        const std::string frame = platform::EncodeMessage(message);
        if (bytes.substr(0, frame.size()) != frame) std::abort();
    }
    platform::LRESULT result = 0;
    platform::DecodeReply(bytes, result);
    platform::ParseWindowRecord(1, bytes);
    return 0;
}
