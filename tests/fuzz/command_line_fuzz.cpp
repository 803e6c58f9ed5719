// Arbitrary command lines through the splitter, ParseCmdParam, the log redaction and
// ParseCmdJson. Also checks that a rebuilt command line splits back into its arguments.
#include "CmdParam.h"
#include "GameLoaderWnd.h"
#include "LogRedaction.h"
#include "Logger.h"

#include "CommandLine.h"
#include "Text.h"

#include <cstdlib>
#include <filesystem>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Keep the log off and the settings file in a scratch folder.
    LogDir = "/nonexistent-log-dir/";
    const auto scratch = std::filesystem::temp_directory_path() / "vk-fuzz-command-line";
    std::filesystem::create_directories(scratch);
    setenv("XDG_DATA_HOME", scratch.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::wstring text = platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    std::wstring cmdJson;
    ParseCmdParam(cmdJson, L"prog " + text);
    RedactTokens(text);
    GameLoaderWnd window(cmdJson);
    window.ParseCmdJson();
    GameLoaderWnd raw(text);
    raw.ParseCmdJson();

    const auto split = platform::CommandLineToArgvW(L"prog " + text);
    if (split) {
        const auto again = platform::CommandLineToArgvW(platform::BuildCommandLine(*split));
        if (!again || *again != *split) std::abort();
    }
    return 0;
}
