#include "LogRedaction.h"

#include "JsonText.h"

#include "Text.h"

#include <vector>

namespace {

constexpr std::wstring_view kTokenOption = L"--token=";
constexpr std::wstring_view kTokenKey = L"token";

std::wstring Redacted(std::size_t characters) { return L"<redacted, " + std::to_wstring(characters) + L" chars>"; }

// The four hexadecimal digits at `at`, when they are there.
bool ReadHex4(std::wstring_view text, std::size_t at, char32_t& value) {
    if (at + 4 > text.size()) return false;
    value = 0;
    for (std::size_t k = at; k < at + 4; ++k) {
        const wchar_t c = text[k];
        const int digit = c >= L'0' && c <= L'9' ? c - L'0'
                          : c >= L'a' && c <= L'f' ? c - L'a' + 10
                          : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                   : -1;
        if (digit < 0) return false;
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return true;
}

// The characters a JSON string's content stands for, its escapes decoded as the JSON reader
// decodes them; a surrogate pair written as two \u escapes is one character.
std::wstring DecodeJsonString(std::wstring_view content) {
    std::wstring out;
    std::size_t i = 0;
    while (i < content.size()) {
        const wchar_t c = content[i++];
        if (c != L'\\' || i >= content.size()) {
            out += c;
            continue;
        }
        const wchar_t escape = content[i++];
        char32_t unit = 0;
        if (escape == L'u' && ReadHex4(content, i, unit)) {
            i += 4;
            char32_t low = 0;
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < content.size() && content[i] == L'\\' &&
                content[i + 1] == L'u' && ReadHex4(content, i + 2, low) && low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 6;
            }
            out += static_cast<wchar_t>(unit);
            continue;
        }
        switch (escape) {
        case L'b': out += L'\b'; break;
        case L'f': out += L'\f'; break;
        case L'n': out += L'\n'; break;
        case L'r': out += L'\r'; break;
        case L't': out += L'\t'; break;
        default: out += escape; break;
        }
    }
    return out;
}

// Walks the text token by token as the JSON reader does (white space and comments skipped,
// strings to their closing quote) and redacts the string value of each "token" member.
std::wstring RedactTokenMembers(std::wstring_view text) {
    enum class Expect { Key, Colon, Value, Comma };
    struct Scope {
        bool isObject;
        Expect expect;
        bool keyIsToken;
    };
    std::vector<Scope> scopes;
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    const auto valueSeen = [&] {
        if (!scopes.empty()) scopes.back().expect = Expect::Comma;
    };
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c == L'/' && i + 1 < text.size() && (text[i + 1] == L'*' || text[i + 1] == L'/')) {
            const bool block = text[i + 1] == L'*';
            std::size_t end = block ? text.find(L"*/", i + 2) : text.find_first_of(L"\r\n", i + 2);
            end = end == std::wstring_view::npos ? text.size() : end + (block ? 2 : 0);
            out += text.substr(i, end - i);
            i = end;
            continue;
        }
        if (c == L'"') {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != L'"') end += text[end] == L'\\' ? 2 : 1;
            end = std::min(end, text.size());
            const std::wstring_view content = text.substr(i + 1, end - i - 1);
            Scope* scope = scopes.empty() ? nullptr : &scopes.back();
            out += L'"';
            if (scope != nullptr && scope->isObject && scope->expect == Expect::Key) {
                scope->keyIsToken = DecodeJsonString(content) == kTokenKey;
                scope->expect = Expect::Colon;
                out += content;
            } else if (scope != nullptr && scope->isObject && scope->expect == Expect::Value && scope->keyIsToken) {
                out += Redacted(DecodeJsonString(content).size());
                valueSeen();
            } else {
                out += content;
                valueSeen();
            }
            if (end < text.size()) out += L'"';
            i = end + 1;
            continue;
        }
        out += c;
        ++i;
        switch (c) {
        case L'{': scopes.push_back({true, Expect::Key, false}); break;
        case L'[': scopes.push_back({false, Expect::Value, false}); break;
        case L'}':
        case L']':
            if (!scopes.empty()) scopes.pop_back();
            valueSeen();
            break;
        case L':':
            if (!scopes.empty() && scopes.back().expect == Expect::Colon) scopes.back().expect = Expect::Value;
            break;
        case L',':
            if (!scopes.empty()) scopes.back().expect = scopes.back().isObject ? Expect::Key : Expect::Value;
            break;
        case L' ':
        case L'\t':
        case L'\r':
        case L'\n': break;
        default:
            // A number, true, false, null or text the reader would refuse: some value all the same.
            if (!scopes.empty() && scopes.back().expect == Expect::Value) valueSeen();
            break;
        }
    }
    return out;
}

}  // namespace

std::wstring RedactTokens(std::wstring_view text) {
    // Every spelling of the key holds either the plain name or an escape.
    if (text.find(kTokenKey) == std::wstring_view::npos && text.find(L'\\') == std::wstring_view::npos) {
        return std::wstring(text);
    }
    Json::Value ignored;
    const std::size_t option = text.find(kTokenOption);
    if (option == std::wstring_view::npos || ParseJsonText(platform::WideToUtf8(text), ignored)) {
        return RedactTokenMembers(text);
    }
    // Not JSON: the text is an option whose value is everything after its prefix.
    const std::size_t value = option + kTokenOption.size();
    return RedactTokenMembers(text.substr(0, value)) + Redacted(text.size() - value);
}
