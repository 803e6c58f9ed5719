#pragma once
#include <string>
#include <vector>

namespace platform {

// The arguments this process was started with, program path first, as UTF-16.
std::vector<std::wstring> ProcessArguments();

}  // namespace platform
