#pragma once
// One registry hive as the text of a ".reg" file ("Windows Registry Editor Version 5.00"):
// keys as [ROOT\path] sections, values as "name"="text", "name"=dword:xxxxxxxx, and @= for a
// key's unnamed default value. Key paths and value names compare without regard to case.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_DWORD = 4;

struct RegistryValue {
    std::wstring name;  // empty: the default value
    std::uint32_t type = REG_SZ;
    std::wstring text;
    std::uint32_t number = 0;
};

struct RegistryKeyData {
    std::wstring path;  // below the root, parts joined by "\"; empty for the root itself
    std::vector<RegistryValue> values;

    RegistryValue* FindValue(const std::wstring& name);
    void SetValue(RegistryValue value);
    bool DeleteValue(const std::wstring& name);
};

class RegistryHive {
public:
    explicit RegistryHive(std::wstring rootName) : m_strRootName(std::move(rootName)) {}

    const std::wstring& RootName() const { return m_strRootName; }
    const std::vector<RegistryKeyData>& Keys() const { return m_keys; }

    // A key exists when it has a section of its own or lies above one.
    bool KeyExists(const std::wstring& path) const;
    RegistryKeyData* FindKey(const std::wstring& path);
    // The key's section, created with it when missing.
    RegistryKeyData& CreateKey(const std::wstring& path);
    // Removes the key and every key below it; false when there was none.
    bool DeleteTree(const std::wstring& path);

private:
    std::wstring m_strRootName;
    std::vector<RegistryKeyData> m_keys;
};

// Folds the case of a key path or value name for comparison.
std::wstring FoldRegistryName(const std::wstring& name);

// nullopt when the text is not a hive of this root in the supported format.
std::optional<RegistryHive> ParseRegistryHive(const std::wstring& rootName, const std::string& utf8Text);
std::string SerializeRegistryHive(const RegistryHive& hive);

}  // namespace platform
