// Arbitrary open-game requests of a page, as the launcher reads them.
#include "GameStart.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    LaunchParameters params;
    ReadOpenGameRequest(std::string(reinterpret_cast<const char*>(data), size), params);
    GameClientArguments(params);
    return 0;
}
