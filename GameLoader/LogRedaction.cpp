#include "LogRedaction.h"

namespace {

constexpr std::wstring_view kTokenOption = L"--token=";
constexpr std::wstring_view kTokenKey = L"token";

std::wstring Redacted(std::size_t length) { return L"<redacted, " + std::to_wstring(length) + L" chars>"; }

// The end of the JSON string whose content starts at `start` (the closing quote, or the
// end of the text when it is never closed).
std::size_t StringEnd(std::wstring_view text, std::size_t start) {
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == L'\\') {
            ++i;
        } else if (text[i] == L'"') {
            return i;
        }
    }
    return text.size();
}

// Redacts option values inside a run of text (outside JSON strings, or one string's content).
void AppendRedactingOptions(std::wstring& out, std::wstring_view run) {
    const std::size_t option = run.find(kTokenOption);
    if (option == std::wstring_view::npos) {
        out += run;
        return;
    }
    const std::size_t value = option + kTokenOption.size();
    out += run.substr(0, value);
    out += Redacted(run.size() - value);
}

std::size_t SkipBlanks(std::wstring_view text, std::size_t i) {
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t' || text[i] == L'\r' || text[i] == L'\n')) ++i;
    return i;
}

}  // namespace

std::wstring RedactSecrets(std::wstring_view text) {
    if (text.find(kTokenOption) == std::wstring_view::npos && text.find(kTokenKey) == std::wstring_view::npos) {
        return std::wstring(text);
    }
    std::wstring out;
    out.reserve(text.size());
    bool redactNextString = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t quote = text.find(L'"', i);
        if (quote == std::wstring_view::npos) {
            AppendRedactingOptions(out, text.substr(i));
            break;
        }
        const std::wstring_view between = text.substr(i, quote - i);
        AppendRedactingOptions(out, between);
        if (between.find(kTokenOption) != std::wstring_view::npos) break;  // redacted to the end

        const std::size_t contentStart = quote + 1;
        const std::size_t contentEnd = StringEnd(text, contentStart);
        const std::wstring_view content = text.substr(contentStart, contentEnd - contentStart);
        const bool afterColon = redactNextString;
        redactNextString = false;
        out += L'"';
        if (afterColon) {
            out += Redacted(content.size());
        } else {
            AppendRedactingOptions(out, content);
            // Only a string value right after `"token":` is the token.
            const std::size_t colon = SkipBlanks(text, contentEnd + 1);
            if (content == kTokenKey && colon < text.size() && text[colon] == L':') {
                const std::size_t value = SkipBlanks(text, colon + 1);
                redactNextString = value < text.size() && text[value] == L'"';
            }
        }
        if (contentEnd < text.size()) out += L'"';
        i = contentEnd + 1;
    }
    return out;
}
