// Arbitrary host command lines through the SDK's option parser and GetTokenBuff's rules.
#include "CmdLineParser.h"
#include "SdkExports.h"

#include "Text.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::wstring line = platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    const CCmdLineParser parser(line);
    parser.GetValue(L"token");
    char buffer[64];
    GetTokenBuffFromCommandLine(line, buffer, sizeof(buffer));
    GetTokenBuffFromCommandLine(line, buffer, 1);
    return 0;
}
