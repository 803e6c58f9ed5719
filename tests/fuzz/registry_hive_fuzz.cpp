// Arbitrary hive files: the reader refuses or accepts, never crashes, and what it accepts
// writes back to a text it reads the same way.
#include "RegistryHive.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto hive = platform::ParseRegistryHive(L"HKEY_CURRENT_USER", text);
    if (!hive) return 0;
    const std::string written = platform::SerializeRegistryHive(*hive);
    const auto again = platform::ParseRegistryHive(L"HKEY_CURRENT_USER", written);
    if (!again || platform::SerializeRegistryHive(*again) != written) std::abort();
    return 0;
}
