#include "CommandLine.h"

#include "Directories.h"
#include "ProcessArguments.h"

namespace platform {
namespace {

bool NeedsQuoting(std::wstring_view text) {
    return text.find_first_of(L" \t\"") != std::wstring_view::npos;
}

// Quotes text so that the splitter gives it back unchanged.
void AppendQuoted(std::wstring& out, std::wstring_view text) {
    out += L'"';
    std::size_t backslashes = 0;
    for (wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
}

void AppendArgument(std::wstring& out, std::wstring_view argument) {
    if (!argument.empty() && !NeedsQuoting(argument)) {
        out += argument;
        return;
    }
    const std::size_t split = argument.find_first_of(L"=:");
    if (split == std::wstring_view::npos || NeedsQuoting(argument.substr(0, split + 1))) {
        AppendQuoted(out, argument);
        return;
    }
    out += argument.substr(0, split + 1);
    AppendQuoted(out, argument.substr(split + 1));
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::wstring BuildCommandLine(const std::vector<std::wstring>& arguments) {
    std::wstring out;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) out += L' ';
        if (i == 0) {
            // The program path follows simpler rules: quoted whole, never escaped.
            if (arguments[0].empty() || NeedsQuoting(arguments[0])) {
                out += L'"' + arguments[0] + L'"';
            } else {
                out += arguments[0];
            }
        } else {
            AppendArgument(out, arguments[i]);
        }
    }
    return out;
}

std::wstring GetCommandLineW() { return BuildCommandLine(ProcessArguments()); }

std::optional<std::vector<std::wstring>> CommandLineToArgvW(const std::wstring& commandLine) {
    std::vector<std::wstring> arguments;
    if (commandLine.empty()) {
        arguments.push_back(GetModulePath());
        return arguments;
    }

    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    std::wstring program;
    if (commandLine[0] == L'"') {
        const std::size_t end = commandLine.find(L'"', 1);
        program = commandLine.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1);
        i = end == std::wstring::npos ? n : end + 1;
    } else {
        while (i < n && !IsBlank(commandLine[i])) program += commandLine[i++];
    }
    arguments.push_back(std::move(program));

    while (true) {
        while (i < n && IsBlank(commandLine[i])) ++i;
        if (i >= n) break;
        std::wstring argument;
        bool inQuotes = false;
        while (i < n && (inQuotes || !IsBlank(commandLine[i]))) {
            std::size_t backslashes = 0;
            while (i < n && commandLine[i] == L'\\') {
                ++backslashes;
                ++i;
            }
            if (i < n && commandLine[i] == L'"') {
                argument.append(backslashes / 2, L'\\');
                if (backslashes % 2 == 1) {
                    argument += L'"';
                    ++i;
                } else if (inQuotes && i + 1 < n && commandLine[i + 1] == L'"') {
                    // A doubled quote inside quotes stands for one literal quote.
                    argument += L'"';
                    i += 2;
                } else {
                    inQuotes = !inQuotes;
                    ++i;
                }
            } else {
                argument.append(backslashes, L'\\');
                if (i < n && (inQuotes || !IsBlank(commandLine[i]))) argument += commandLine[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace platform
