#include "CmdParam.h"

#include "LaunchParameters.h"
#include "LogRedaction.h"
#include "Logger.h"

#include "Text.h"

#include <json/writer.h>

namespace {

// The JSON library reads and writes UTF-8, whatever the locale's character set: values go
// in as UTF-8 and the text comes back from it, so every character survives.
std::wstring WriteJson(const Json::Value& object) {
    Json::FastWriter writer;
    return platform::Utf8ToWide(writer.write(object));
}

}  // namespace

bool SetOptionFromArg(const std::wstring& argument, Json::Value& object, const wchar_t* prefix, const char* key) {
    const std::size_t position = argument.find(prefix);
    if (position == std::wstring::npos) return false;
    const std::wstring value = argument.substr(position + std::wstring_view(prefix).size());
    object[key] = platform::WideToUtf8(value);
    return true;
}

bool ParseCmdParam(std::wstring& output, const std::wstring& commandLine) {
    const std::optional<std::vector<std::wstring>> arguments = platform::CommandLineToArgvW(commandLine);
    if (!arguments) {
        LOG_WRITE(0, L"CommandLineToArgvW szArgList is NULL");
        return false;
    }
    const std::size_t count = arguments->size();
    if (count == 1 || count == 2) {
        output = (*arguments)[count - 1];
        Json::Value object(Json::objectValue);
        if (SetOptionFromArg(output, object, L"--installed=", "installed")) output = WriteJson(object);
        return true;
    }
    Json::Value object(Json::objectValue);
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring& argument = (*arguments)[i];
        LOG_WRITE(2, L"CommandLineToArgvW argCount:" << i << L" szArgList:" << RedactTokens(argument));
        for (const LaunchParameterKey& option : kLaunchParameterKeys) {
            if (SetOptionFromArg(argument, object, option.prefix, option.key)) break;
        }
    }
    output = WriteJson(object);
    return true;
}
