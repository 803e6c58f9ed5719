#pragma once
// The host's command-line options as the cloud platform writes them: --name=value,
// -name:value or /name=value, values optionally quoted.
#include <map>
#include <string>
#include <vector>

class CCmdLineParser {
public:
    explicit CCmdLineParser(const std::wstring& commandLine);

    // The value of the first occurrence of name (case-sensitive); empty when absent.
    std::wstring GetValue(const std::wstring& name) const;
    bool HasKey(const std::wstring& name) const { return m_options.count(name) != 0; }
    const std::map<std::wstring, std::wstring>& Options() const { return m_options; }

    // The tokens of a command line: cut at spaces, except inside quoted text, where a quote
    // after ":" or "=" opens a nested level and any other quote closes one; the character
    // after the closing quote ends the token.
    static std::vector<std::wstring> SplitTokens(const std::wstring& commandLine);

private:
    void AddOption(const std::wstring& token);

    std::map<std::wstring, std::wstring> m_options;
};
