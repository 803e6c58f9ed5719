// Arbitrary command texts of a start, as the launcher checks them for the game-exit command.
#include "GameExit.h"

#include "Text.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    int type = 0;
    ReadGameExitType(platform::Utf8ToWide(text), type);
    ReadGameExitType(platform::AnsiToWide(text), type);
    return 0;
}
