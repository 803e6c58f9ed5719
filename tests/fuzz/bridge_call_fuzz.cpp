// Arbitrary texts a page may hand to window.external.g_callCppFunc.
#include "CallCppFunc.h"
#include "LogRedaction.h"

#include "Text.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ReadBridgeCall(text);
    RedactTokens(platform::Utf8ToWide(text));
    return 0;
}
