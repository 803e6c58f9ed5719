#pragma once
#include <string_view>

namespace platform {

// Writes the bytes to standard error in one call; failures are ignored.
void WriteStandardError(std::string_view bytes);

}  // namespace platform
