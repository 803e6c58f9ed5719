#include "ProcessArguments.h"

#include "FileIO.h"
#include "Text.h"

namespace platform {

std::vector<std::wstring> ProcessArguments() {
    std::string raw;
    std::vector<std::wstring> arguments;
    if (!ReadFileBounded("/proc/self/cmdline", 1 << 22, raw)) return arguments;
    std::size_t start = 0;
    while (start < raw.size()) {
        std::size_t end = raw.find('\0', start);
        if (end == std::string::npos) end = raw.size();
        arguments.push_back(AnsiToWide(std::string_view(raw).substr(start, end - start)));
        start = end + 1;
    }
    return arguments;
}

}  // namespace platform
