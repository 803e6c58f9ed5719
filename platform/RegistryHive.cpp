#include "RegistryHive.h"

#include "BackslashEscapes.h"
#include "Text.h"

#include <algorithm>
#include <cwctype>

namespace platform {
namespace {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00";

bool SameName(const std::wstring& a, const std::wstring& b) { return FoldRegistryName(a) == FoldRegistryName(b); }

// True when path equals base or lies below it.
bool IsAtOrBelow(const std::wstring& path, const std::wstring& base) {
    if (base.empty()) return true;
    const std::wstring folded = FoldRegistryName(path);
    const std::wstring foldedBase = FoldRegistryName(base);
    return folded == foldedBase || (folded.size() > foldedBase.size() && folded.starts_with(foldedBase) &&
                                    folded[foldedBase.size()] == L'\\');
}

// Quoted strings of the hive format; line breaks are written escaped so a value stays on
// its line.
constexpr EscapePair kStringEscapes[] = {{'\\', '\\'}, {'"', '"'}, {'\n', 'n'}, {'\r', 'r'}};

std::string Quote(const std::wstring& text) { return "\"" + EscapeWith(WideToUtf8(text), kStringEscapes) + "\""; }

// Reads a quoted string at text[i] (which holds the opening quote); i ends after the closing quote.
std::optional<std::wstring> Unquote(const std::string& text, std::size_t& i) {
    if (i >= text.size() || text[i] != '"') return std::nullopt;
    std::size_t close = i + 1;
    while (close < text.size() && text[close] != '"') close += text[close] == '\\' ? 2 : 1;
    if (close >= text.size()) return std::nullopt;
    const std::optional<std::string> content = UnescapeWith(std::string_view(text).substr(i + 1, close - i - 1), kStringEscapes);
    if (!content) return std::nullopt;
    i = close + 1;
    return Utf8ToWide(*content);
}

std::optional<RegistryValue> ParseValueLine(const std::string& line) {
    RegistryValue value;
    std::size_t i = 0;
    if (line[0] == '@') {
        i = 1;
    } else {
        std::optional<std::wstring> name = Unquote(line, i);
        if (!name || name->empty()) return std::nullopt;
        value.name = std::move(*name);
    }
    if (i >= line.size() || line[i] != '=') return std::nullopt;
    ++i;
    if (line.compare(i, 6, "dword:") == 0) {
        const std::string digits = line.substr(i + 6);
        if (digits.empty() || digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), ::isxdigit)) return std::nullopt;
        value.type = REG_DWORD;
        value.number = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
        return value;
    }
    std::optional<std::wstring> text = Unquote(line, i);
    if (!text || i != line.size()) return std::nullopt;
    value.type = REG_SZ;
    value.text = std::move(*text);
    return value;
}

}  // namespace

std::wstring FoldRegistryName(const std::wstring& name) {
    std::wstring folded = name;
    for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return folded;
}

RegistryValue* RegistryKeyData::FindValue(const std::wstring& name) {
    for (RegistryValue& value : values) {
        if (SameName(value.name, name)) return &value;
    }
    return nullptr;
}

void RegistryKeyData::SetValue(RegistryValue value) {
    if (RegistryValue* existing = FindValue(value.name)) {
        value.name = existing->name;
        *existing = std::move(value);
    } else {
        values.push_back(std::move(value));
    }
}

bool RegistryKeyData::DeleteValue(const std::wstring& name) {
    return std::erase_if(values, [&](const RegistryValue& value) { return SameName(value.name, name); }) > 0;
}

bool RegistryHive::KeyExists(const std::wstring& path) const {
    if (path.empty()) return true;
    return std::any_of(m_keys.begin(), m_keys.end(), [&](const RegistryKeyData& key) { return IsAtOrBelow(key.path, path); });
}

RegistryKeyData* RegistryHive::FindKey(const std::wstring& path) {
    for (RegistryKeyData& key : m_keys) {
        if (SameName(key.path, path)) return &key;
    }
    return nullptr;
}

RegistryKeyData& RegistryHive::CreateKey(const std::wstring& path) {
    if (RegistryKeyData* existing = FindKey(path)) return *existing;
    m_keys.push_back(RegistryKeyData{path, {}});
    return m_keys.back();
}

bool RegistryHive::DeleteTree(const std::wstring& path) {
    if (!KeyExists(path)) return false;
    std::erase_if(m_keys, [&](const RegistryKeyData& key) { return IsAtOrBelow(key.path, path); });
    return true;
}

std::optional<RegistryHive> ParseRegistryHive(const std::wstring& rootName, const std::string& utf8Text) {
    RegistryHive hive(rootName);
    std::string text = utf8Text;
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    bool headerSeen = false;
    RegistryKeyData* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (!headerSeen) {
            if (line != kHeader) return std::nullopt;
            headerSeen = true;
        } else if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3 || line[1] == '-') return std::nullopt;
            const std::wstring full = Utf8ToWide(line.substr(1, line.size() - 2));
            std::wstring path;
            if (SameName(full, rootName)) {
                path.clear();
            } else if (full.size() > rootName.size() && SameName(full.substr(0, rootName.size()), rootName) &&
                       full[rootName.size()] == L'\\') {
                path = full.substr(rootName.size() + 1);
                if (path.empty() || path.back() == L'\\' || path.find(L"\\\\") != std::wstring::npos) return std::nullopt;
            } else {
                return std::nullopt;
            }
            current = &hive.CreateKey(path);
        } else {
            if (current == nullptr) return std::nullopt;
            std::optional<RegistryValue> value = ParseValueLine(line);
            if (!value) return std::nullopt;
            current->SetValue(std::move(*value));
        }
    }
    if (!headerSeen) return std::nullopt;
    return hive;
}

std::string SerializeRegistryHive(const RegistryHive& hive) {
    std::string out = std::string(kHeader) + "\n";
    for (const RegistryKeyData& key : hive.Keys()) {
        out += "\n[" + WideToUtf8(hive.RootName()) + (key.path.empty() ? "" : "\\" + WideToUtf8(key.path)) + "]\n";
        for (const RegistryValue& value : key.values) {
            out += value.name.empty() ? std::string("@") : Quote(value.name);
            if (value.type == REG_DWORD) {
                char digits[16];
                std::snprintf(digits, sizeof(digits), "%08x", value.number);
                out += std::string("=dword:") + digits + "\n";
            } else {
                out += "=" + Quote(value.text) + "\n";
            }
        }
    }
    return out;
}

}  // namespace platform
