#pragma once
// The process command line as one text, and the splitter with the documented Windows
// rules, so that option parsers see quoted values whole.
#include <optional>
#include <string>
#include <vector>

namespace platform {

// This process's command line, rebuilt from its arguments: joined by single spaces; an
// argument holding a space, tab or double quote (or an empty one) gets its value quoted
// after its first "=" or ":" (the whole argument when it has neither, or when the part
// before holds such a character), inner quotes and the backslashes before them escaped.
std::wstring GetCommandLineW();

// The same rebuilding for a given argument list; argument 0 is the program path.
std::wstring BuildCommandLine(const std::vector<std::wstring>& arguments);

// Splits a command line as CommandLineToArgvW does: white space separates arguments,
// double quotes group, 2n backslashes before a quote give n and a delimiter, 2n+1 give n
// and a literal quote, other backslashes are literal; the first argument (the program
// path) ends at the next white space or, when it begins with a quote, at the next quote.
// An empty command line gives the path of the running executable.
std::optional<std::vector<std::wstring>> CommandLineToArgvW(const std::wstring& commandLine);

}  // namespace platform
