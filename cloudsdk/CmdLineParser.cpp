#include "CmdLineParser.h"

#include <string_view>

std::vector<std::wstring> CCmdLineParser::SplitTokens(const std::wstring& commandLine) {
    std::vector<std::wstring> tokens;
    const std::size_t length = commandLine.size();
    std::size_t position = 0;
    while (position < length) {
        const std::size_t start = position;
        const std::size_t found = commandLine.find_first_of(L" \"", position);
        if (found == std::wstring::npos) {
            tokens.push_back(commandLine.substr(start));
            break;
        }
        if (commandLine[found] == L' ') {
            tokens.push_back(commandLine.substr(start, found - start));
            position = found + 1;
            continue;
        }
        int depth = 1;
        std::size_t last = found;
        while (depth > 0) {
            const std::size_t quote = commandLine.find(L'"', last + 1);
            if (quote == std::wstring::npos) {
                tokens.push_back(commandLine.substr(start));
                return tokens;
            }
            const wchar_t before = commandLine[quote - 1];
            depth += (before == L':' || before == L'=') ? 1 : -1;
            last = quote;
        }
        // The character right after the closing quote is the token's terminator, whatever it is.
        tokens.push_back(commandLine.substr(start, last + 1 - start));
        position = last + 2;
    }
    return tokens;
}

CCmdLineParser::CCmdLineParser(const std::wstring& commandLine) {
    const std::vector<std::wstring> tokens = SplitTokens(commandLine);
    // The first token is the program path; on this system it begins with "/", which must
    // not make it an option.
    for (std::size_t i = 1; i < tokens.size(); ++i) AddOption(tokens[i]);
}

void CCmdLineParser::AddOption(const std::wstring& token) {
    std::wstring_view rest = token;
    bool prefixed = false;
    for (const std::wstring_view prefix : {std::wstring_view(L"--"), std::wstring_view(L"-"), std::wstring_view(L"/")}) {
        if (rest.starts_with(prefix)) {
            rest.remove_prefix(prefix.size());
            prefixed = true;
            break;
        }
    }
    if (!prefixed) return;
    const std::size_t separator = rest.find_first_of(L":=");
    if (separator == std::wstring_view::npos) {
        m_options.emplace(std::wstring(rest), std::wstring());
        return;
    }
    std::wstring_view value = rest.substr(separator + 1);
    if (value.starts_with(L'"')) value.remove_prefix(1);
    if (!value.empty() && value.ends_with(L'"')) value.remove_suffix(1);
    m_options.emplace(std::wstring(rest.substr(0, separator)), std::wstring(value));
}

std::wstring CCmdLineParser::GetValue(const std::wstring& name) const {
    const auto it = m_options.find(name);
    return it == m_options.end() ? std::wstring() : it->second;
}
