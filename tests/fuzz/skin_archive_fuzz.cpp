// Arbitrary bytes as a skin package: opening and reading entries fail cleanly.
#include "SkinArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    uikit::CSkinArchive archive;
    if (!archive.OpenMemory(data, size)) return 0;
    std::string out;
    std::string error;
    for (const char* name : {"GameLoader.xml", "shadow.png", "a", "A\\B"}) archive.ReadEntry(name, 1 << 20, out, error);
    return 0;
}
