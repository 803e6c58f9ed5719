#include "RegistryHive.h"

#include "BackslashEscapes.h"
#include "Text.h"

#include <algorithm>
#include <clocale>
#include <cwctype>

namespace platform {
namespace {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00";

std::wstring FoldedFromFile(std::string_view raw) { return FoldRegistryName(Utf8ToWide(raw)); }

// Quoted strings of the hive format; line breaks are written escaped so a value stays on
// its line.
constexpr EscapePair kStringEscapes[] = {{'\\', '\\'}, {'"', '"'}, {'\n', 'n'}, {'\r', 'r'}};

std::string Quote(std::string_view raw) { return "\"" + EscapeWith(raw, kStringEscapes) + "\""; }

// Reads a quoted string at text[i] (which holds the opening quote); i ends after the closing quote.
std::optional<std::string> Unquote(std::string_view text, std::size_t& i) {
    if (i >= text.size() || text[i] != '"') return std::nullopt;
    std::size_t close = i + 1;
    while (close < text.size() && text[close] != '"') close += text[close] == '\\' ? 2 : 1;
    if (close >= text.size()) return std::nullopt;
    std::optional<std::string> content = UnescapeWith(text.substr(i + 1, close - i - 1), kStringEscapes);
    if (!content) return std::nullopt;
    i = close + 1;
    return content;
}

std::optional<StoredRegistryValue> ParseValueLine(std::string_view line) {
    StoredRegistryValue value;
    std::size_t i = 0;
    if (line[0] == '@') {
        i = 1;
    } else {
        std::optional<std::string> name = Unquote(line, i);
        if (!name || name->empty()) return std::nullopt;
        value.name = std::move(*name);
    }
    if (i >= line.size() || line[i] != '=') return std::nullopt;
    ++i;
    if (line.substr(i, 6) == "dword:") {
        const std::string digits(line.substr(i + 6));
        if (digits.empty() || digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), ::isxdigit)) return std::nullopt;
        value.type = REG_DWORD;
        value.number = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
        return value;
    }
    std::optional<std::string> text = Unquote(line, i);
    if (!text || i != line.size()) return std::nullopt;
    value.type = REG_SZ;
    value.text = std::move(*text);
    return value;
}

// Upper case by the Unicode tables, not by the process's locale.
wchar_t FoldCharacter(wchar_t c) {
    if (c < 0x80) return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return unicode != static_cast<locale_t>(nullptr) ? static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), unicode)) : c;
}

}  // namespace

std::wstring FoldRegistryName(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) c = FoldCharacter(c);
    return folded;
}

RegistryValue StoredRegistryValue::ToValue() const { return RegistryValue{Utf8ToWide(name), type, Utf8ToWide(text), number}; }

std::wstring RegistryKeyData::Path() const { return Utf8ToWide(m_strPath); }

std::vector<RegistryValue> RegistryKeyData::Values() const {
    std::vector<RegistryValue> values;
    values.reserve(m_values.size());
    for (const StoredRegistryValue& value : m_values) values.push_back(value.ToValue());
    return values;
}

// Keys with more values than this get an index of their names.
constexpr std::size_t kIndexedValues = 16;

std::size_t RegistryKeyData::PositionOf(const std::wstring& folded) const {
    if (!m_index.empty()) {
        const auto it = m_index.find(folded);
        return it == m_index.end() ? m_values.size() : it->second;
    }
    return static_cast<std::size_t>(std::find(m_folded.begin(), m_folded.end(), folded) - m_folded.begin());
}

void RegistryKeyData::Reindex() {
    m_index.clear();
    if (m_folded.size() <= kIndexedValues) return;
    for (std::size_t i = 0; i < m_folded.size(); ++i) m_index.emplace(m_folded[i], i);
}

const StoredRegistryValue* RegistryKeyData::FindValue(const std::wstring& name) const {
    const std::size_t position = PositionOf(FoldRegistryName(name));
    return position < m_values.size() ? &m_values[position] : nullptr;
}

void RegistryKeyData::SetValue(const RegistryValue& value) {
    SetStoredValue(StoredRegistryValue{WideToUtf8(value.name), value.type, WideToUtf8(value.text), value.number});
}

void RegistryKeyData::SetStoredValue(StoredRegistryValue value) {
    std::wstring folded = FoldedFromFile(value.name);
    const std::size_t position = PositionOf(folded);
    if (position < m_values.size()) {
        value.name = m_values[position].name;
        m_values[position] = std::move(value);
        return;
    }
    m_values.push_back(std::move(value));
    m_folded.push_back(std::move(folded));
    if (!m_index.empty()) {
        m_index.emplace(m_folded.back(), m_values.size() - 1);
    } else if (m_folded.size() > kIndexedValues) {
        Reindex();
    }
}

bool RegistryKeyData::DeleteValue(const std::wstring& name) {
    const std::size_t position = PositionOf(FoldRegistryName(name));
    if (position >= m_values.size()) return false;
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(position));
    m_folded.erase(m_folded.begin() + static_cast<std::ptrdiff_t>(position));
    Reindex();
    return true;
}

bool RegistryHive::KeyExists(const std::wstring& path) const {
    return path.empty() || m_existing.contains(FoldRegistryName(path));
}

RegistryKeyData* RegistryHive::FindKey(const std::wstring& path) {
    const auto it = m_index.find(FoldRegistryName(path));
    return it == m_index.end() ? nullptr : &m_keys[it->second];
}

RegistryKeyData& RegistryHive::CreateKey(const std::wstring& path) { return CreateKeyFromFile(WideToUtf8(path)); }

RegistryKeyData& RegistryHive::CreateKeyFromFile(std::string rawPath) {
    std::wstring folded = FoldedFromFile(rawPath);
    const auto it = m_index.find(folded);
    if (it != m_index.end()) return m_keys[it->second];
    m_keys.emplace_back(std::move(rawPath));
    IndexKey(m_keys.size() - 1, std::move(folded));
    return m_keys.back();
}

void RegistryHive::IndexKey(std::size_t position, std::wstring folded) {
    // The key and every key above it exist from now on.
    for (std::size_t end = folded.size(); end != 0 && end != std::wstring::npos; end = folded.rfind(L'\\', end - 1)) {
        if (!m_existing.insert(folded.substr(0, end)).second) break;
    }
    m_index.emplace(std::move(folded), position);
}

bool RegistryHive::DeleteTree(const std::wstring& path) {
    if (!KeyExists(path)) return false;
    const std::wstring base = FoldRegistryName(path);
    std::erase_if(m_keys, [&](const RegistryKeyData& key) {
        const std::wstring folded = FoldedFromFile(key.RawPath());
        return base.empty() || folded == base || (folded.starts_with(base) && folded.size() > base.size() && folded[base.size()] == L'\\');
    });
    m_index.clear();
    m_existing.clear();
    for (std::size_t i = 0; i < m_keys.size(); ++i) IndexKey(i, FoldedFromFile(m_keys[i].RawPath()));
    return true;
}

std::optional<RegistryHive> ParseRegistryHive(const std::wstring& rootName, const std::string& utf8Text) {
    RegistryHive hive(rootName);
    const std::string root = WideToUtf8(rootName);
    const std::wstring foldedRoot = FoldRegistryName(rootName);
    std::string_view text = utf8Text;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    bool headerSeen = false;
    RegistryKeyData* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == ';') continue;
        if (!headerSeen) {
            if (line != kHeader) return std::nullopt;
            headerSeen = true;
        } else if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3 || line[1] == '-') return std::nullopt;
            const std::string_view full = line.substr(1, line.size() - 2);
            std::string path;
            if (FoldedFromFile(full.substr(0, root.size())) != foldedRoot) return std::nullopt;
            if (full.size() > root.size()) {
                if (full[root.size()] != '\\') return std::nullopt;
                path = std::string(full.substr(root.size() + 1));
                if (path.empty() || path.back() == '\\' || path.find("\\\\") != std::string::npos) return std::nullopt;
            }
            current = &hive.CreateKeyFromFile(std::move(path));
        } else {
            if (current == nullptr) return std::nullopt;
            std::optional<StoredRegistryValue> value = ParseValueLine(line);
            if (!value) return std::nullopt;
            current->SetStoredValue(std::move(*value));
        }
    }
    if (!headerSeen) return std::nullopt;
    return hive;
}

std::string SerializeRegistryHive(const RegistryHive& hive) {
    std::string out = std::string(kHeader) + "\n";
    const std::string root = WideToUtf8(hive.RootName());
    for (const RegistryKeyData& key : hive.Keys()) {
        out += "\n[" + root + (key.RawPath().empty() ? "" : "\\" + key.RawPath()) + "]\n";
        for (const StoredRegistryValue& value : key.StoredValues()) {
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
