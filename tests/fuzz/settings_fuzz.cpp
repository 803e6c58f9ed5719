// Arbitrary "setting.xml" contents, deeply nested and huge ones included: reads and writes
// must fail cleanly, never crash.
#include "PlatformSettings.h"

#include "Text.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {
std::string g_path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const auto scratch = std::filesystem::temp_directory_path() / ("vk-fuzz-settings-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
    g_path = (scratch / "setting.xml").string();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::ofstream(g_path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                    static_cast<std::streamsize>(size));
    const std::wstring path = platform::Utf8ToWide(g_path);
    std::wstring value;
    GetLoginSource(path, value);
    GetPlatformWindowId(path, value);
    if (SetLoginSource(L"TW", path)) {
        value.clear();
        if (!GetLoginSource(path, value) || value != L"TW") std::abort();
    }
    return 0;
}
