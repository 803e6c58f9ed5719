#pragma once
// One registry hive as the text of a ".reg" file ("Windows Registry Editor Version 5.00"):
// keys as [ROOT\path] sections, values as "name"="text", "name"=dword:xxxxxxxx, and @= for a
// key's unnamed default value. Key paths and value names compare without regard to case;
// keys and values are indexed by their folded names, so work on a hive is linear in its
// size. Names and texts keep the file's bytes, so what nobody changes is written back as it
// was, even bytes that are not UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {

constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_DWORD = 4;

// A value as callers see it.
struct RegistryValue {
    std::wstring name;  // empty: the default value
    std::uint32_t type = REG_SZ;
    std::wstring text;
    std::uint32_t number = 0;
};

// A value as the hive holds it: name and text are the file's UTF-8 bytes.
struct StoredRegistryValue {
    std::string name;
    std::uint32_t type = REG_SZ;
    std::string text;
    std::uint32_t number = 0;

    RegistryValue ToValue() const;
};

class RegistryKeyData {
public:
    explicit RegistryKeyData(std::string path) : m_strPath(std::move(path)) {}

    // Below the root, parts joined by "\"; empty for the root itself. The file's bytes.
    const std::string& RawPath() const { return m_strPath; }
    std::wstring Path() const;
    const std::vector<StoredRegistryValue>& StoredValues() const { return m_values; }
    std::vector<RegistryValue> Values() const;

    const StoredRegistryValue* FindValue(const std::wstring& name) const;
    // Replaces the value of that name (keeping the spelling and place of the old one) or
    // adds it at the end.
    void SetValue(const RegistryValue& value);
    void SetStoredValue(StoredRegistryValue value);
    bool DeleteValue(const std::wstring& name);

private:
    std::size_t PositionOf(const std::wstring& folded) const;
    void Reindex();

    std::string m_strPath;
    std::vector<StoredRegistryValue> m_values;
    std::vector<std::wstring> m_folded;  // the values' folded names, in the same order
    // Folded name -> position, kept only for keys with many values; a few are searched.
    std::unordered_map<std::wstring, std::size_t> m_index;
};

class RegistryHive {
public:
    explicit RegistryHive(std::wstring rootName) : m_strRootName(std::move(rootName)) {}

    const std::wstring& RootName() const { return m_strRootName; }
    const std::vector<RegistryKeyData>& Keys() const { return m_keys; }

    // A key exists when it has a section of its own or lies above one.
    bool KeyExists(const std::wstring& path) const;
    // The key's section, valid until the next key is created or deleted.
    RegistryKeyData* FindKey(const std::wstring& path);
    // The key's section, created with it when missing.
    RegistryKeyData& CreateKey(const std::wstring& path);
    RegistryKeyData& CreateKeyFromFile(std::string rawPath);
    // Removes the key and every key below it; false when there was none.
    bool DeleteTree(const std::wstring& path);

private:
    void IndexKey(std::size_t position, std::wstring folded);

    std::wstring m_strRootName;
    std::vector<RegistryKeyData> m_keys;
    std::unordered_map<std::wstring, std::size_t> m_index;  // folded path -> position
    std::unordered_set<std::wstring> m_existing;            // every key and every key above one, folded
};

// Folds the case of a key path or value name for comparison, the same in every process
// whatever its locale.
std::wstring FoldRegistryName(std::wstring_view name);

// nullopt when the text is not a hive of this root in the supported format.
std::optional<RegistryHive> ParseRegistryHive(const std::wstring& rootName, const std::string& utf8Text);
std::string SerializeRegistryHive(const RegistryHive& hive);

}  // namespace platform
