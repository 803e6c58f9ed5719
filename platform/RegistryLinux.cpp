#include "Registry.h"

#include "Directories.h"
#include "FileIO.h"
#include "Text.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

enum class Hive { CurrentUser, LocalMachine };

struct RegistryKeyHandle {
    Hive hive;
    std::wstring path;
    REGSAM access;
    bool predefined;
};

namespace {

RegistryKeyHandle g_currentUser{Hive::CurrentUser, L"", KEY_ALL_ACCESS, true};
RegistryKeyHandle g_localMachine{Hive::LocalMachine, L"", KEY_ALL_ACCESS, true};

// Hive files are a few kilobytes; this bounds what a damaged one can make us read.
constexpr std::size_t kMaxHiveBytes = 16u << 20;

const wchar_t* RootName(Hive hive) {
    return hive == Hive::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
}

std::string ConfigFolder(Hive hive) {
    if (hive == Hive::CurrentUser) {
        const char* config = std::getenv("XDG_CONFIG_HOME");
        if (config != nullptr && config[0] == '/') return std::string(config) + "/tidewell";
        return HomeDir() + "/.config/tidewell";
    }
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string first = dirs != nullptr ? std::string(dirs).substr(0, std::string(dirs).find(':')) : std::string();
    if (first.empty() || first[0] != '/') first = "/etc/xdg";
    return first + "/tidewell";
}

std::wstring JoinPath(const std::wstring& base, const wchar_t* subKey) {
    std::wstring sub = subKey != nullptr ? subKey : L"";
    while (!sub.empty() && sub.back() == L'\\') sub.pop_back();
    if (sub.empty()) return base;
    return base.empty() ? sub : base + L"\\" + sub;
}

bool IsValidPath(const std::wstring& path) {
    return path.find_first_of(L"\n\r]") == std::wstring::npos && path.find(L"\\\\") == std::wstring::npos &&
           (path.empty() || path.front() != L'\\');
}

// Runs `change` on the hive under the hive's lock: shared for reading, exclusive for
// changing, in which case a changed hive is written back atomically.
LONG WithHive(Hive hive, bool writing, const std::function<LONG(RegistryHive&, bool& changed)>& change) {
    const std::string folder = ConfigFolder(hive);
    const std::string path = folder + "/" + WideToUtf8(RootName(hive)) + ".reg";
    if (writing) {
        const std::size_t slash = folder.rfind('/');
        mkdir(folder.substr(0, slash).c_str(), 0700);
        mkdir(folder.c_str(), 0700);
    }
    // Readers take the lock when it is there; a writer makes it.
    const int lock = writing ? OpenLockFile(path + ".lock") : OpenRegularFile(path + ".lock", O_RDONLY);
    if (lock < 0 && writing) return errno == EACCES || errno == EROFS ? ERROR_ACCESS_DENIED : ERROR_WRITE_FAULT;
    if (lock >= 0) flock(lock, writing ? LOCK_EX : LOCK_SH);

    LONG result = ERROR_SUCCESS;
    std::string text;
    std::optional<RegistryHive> data;
    if (!PathFileExists(path)) {
        data.emplace(RootName(hive));
    } else if (!ReadFileBounded(path, kMaxHiveBytes, text)) {
        result = ERROR_ACCESS_DENIED;
    } else if (!(data = ParseRegistryHive(RootName(hive), text))) {
        result = ERROR_BADDB;
    }
    if (data) {
        bool changed = false;
        result = change(*data, changed);
        if (result == ERROR_SUCCESS && changed) {
            const std::string serialized = SerializeRegistryHive(*data);
            if (!WriteFileAtomically(path, [&](std::FILE* file) {
                    return std::fwrite(serialized.data(), 1, serialized.size(), file) == serialized.size();
                })) {
                result = ERROR_ACCESS_DENIED;
            }
        }
    }
    if (lock >= 0) close(lock);
    return result;
}

LONG CheckHandle(HKEY key, REGSAM needed) {
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    return (key->access & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

std::wstring ValueName(const wchar_t* name) { return name != nullptr ? name : L""; }

std::vector<BYTE> Bytes(const RegistryValue& value) {
    if (value.type != REG_DWORD) return RegStringBytes(value.text);
    std::vector<BYTE> bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(value.number >> (8 * i)));
    return bytes;
}

}  // namespace

const HKEY HKEY_CURRENT_USER = &g_currentUser;
const HKEY HKEY_LOCAL_MACHINE = &g_localMachine;

std::vector<BYTE> RegStringBytes(std::wstring_view text) {
    std::vector<BYTE> bytes;
    for (const char16_t unit : WideToUtf16(text) + u'\0') {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    return bytes;
}

std::wstring RegStringFromBytes(const BYTE* data, DWORD size) {
    std::u16string units;
    for (DWORD i = 0; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0) break;
        units += unit;
    }
    std::wstring text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        text += static_cast<wchar_t>(c);
    }
    return text;
}

std::string RegistryHivePath(HKEY root) {
    if (root == nullptr) return {};
    return ConfigFolder(root->hive) + "/" + WideToUtf8(RootName(root->hive)) + ".reg";
}

LONG RegOpenKeyExW(HKEY key, const wchar_t* subKey, DWORD options, REGSAM access, HKEY* result) {
    if (key == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    const std::wstring path = JoinPath(key->path, subKey);
    if (!IsValidPath(path)) return ERROR_FILE_NOT_FOUND;
    const LONG status = WithHive(key->hive, false, [&](RegistryHive& hive, bool&) {
        return hive.KeyExists(path) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
    if (status != ERROR_SUCCESS) return status;
    *result = new RegistryKeyHandle{key->hive, path, access, false};
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY key, const wchar_t* subKey, REGSAM access, HKEY* result, DWORD* disposition) {
    if (key == nullptr || result == nullptr) return ERROR_INVALID_PARAMETER;
    const std::wstring path = JoinPath(key->path, subKey);
    if (!IsValidPath(path)) return ERROR_INVALID_PARAMETER;
    bool created = false;
    const LONG status = WithHive(key->hive, true, [&](RegistryHive& hive, bool& changed) {
        created = !hive.KeyExists(path);
        if (created || hive.FindKey(path) == nullptr) {
            hive.CreateKey(path);
            changed = true;
        }
        return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS) return status;
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = new RegistryKeyHandle{key->hive, path, access, false};
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    if (!key->predefined) delete key;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, const wchar_t* valueName, DWORD* type, BYTE* data, DWORD* dataSize) {
    if (const LONG access = CheckHandle(key, KEY_QUERY_VALUE); access != ERROR_SUCCESS) return access;
    if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
    return WithHive(key->hive, false, [&](RegistryHive& hive, bool&) -> LONG {
        RegistryKeyData* keyData = hive.FindKey(key->path);
        if (keyData == nullptr && !hive.KeyExists(key->path)) return ERROR_FILE_NOT_FOUND;
        const StoredRegistryValue* stored = keyData != nullptr ? keyData->FindValue(ValueName(valueName)) : nullptr;
        if (stored == nullptr) return ERROR_FILE_NOT_FOUND;
        const std::vector<BYTE> bytes = Bytes(stored->ToValue());
        if (type != nullptr) *type = stored->type;
        if (dataSize == nullptr) return ERROR_SUCCESS;
        const DWORD available = *dataSize;
        *dataSize = static_cast<DWORD>(bytes.size());
        if (data == nullptr) return ERROR_SUCCESS;
        if (available < bytes.size()) return ERROR_MORE_DATA;
        std::memcpy(data, bytes.data(), bytes.size());
        return ERROR_SUCCESS;
    });
}

LONG RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD type, const BYTE* data, DWORD dataSize) {
    if (const LONG access = CheckHandle(key, KEY_SET_VALUE); access != ERROR_SUCCESS) return access;
    if (data == nullptr && dataSize != 0) return ERROR_INVALID_PARAMETER;
    RegistryValue value;
    value.name = ValueName(valueName);
    value.type = type;
    if (type == REG_DWORD) {
        if (dataSize != 4) return ERROR_INVALID_PARAMETER;
        value.number = static_cast<DWORD>(data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<DWORD>(data[3]) << 24));
    } else if (type == REG_SZ) {
        value.text = RegStringFromBytes(data, dataSize);
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    return WithHive(key->hive, true, [&](RegistryHive& hive, bool& changed) -> LONG {
        if (!hive.KeyExists(key->path)) return ERROR_FILE_NOT_FOUND;
        hive.CreateKey(key->path).SetValue(value);
        changed = true;
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValueW(HKEY key, const wchar_t* valueName) {
    if (const LONG access = CheckHandle(key, KEY_SET_VALUE); access != ERROR_SUCCESS) return access;
    return WithHive(key->hive, true, [&](RegistryHive& hive, bool& changed) -> LONG {
        RegistryKeyData* keyData = hive.FindKey(key->path);
        if (keyData == nullptr || !keyData->DeleteValue(ValueName(valueName))) return ERROR_FILE_NOT_FOUND;
        changed = true;
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteTreeW(HKEY key, const wchar_t* subKey) {
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    const std::wstring path = JoinPath(key->path, subKey);
    if (path.empty()) return ERROR_ACCESS_DENIED;  // a whole hive is never deleted
    return WithHive(key->hive, true, [&](RegistryHive& hive, bool& changed) -> LONG {
        if (!hive.DeleteTree(path)) return ERROR_FILE_NOT_FOUND;
        changed = true;
        return ERROR_SUCCESS;
    });
}

LONG RegListValues(HKEY key, std::vector<RegistryValue>& values) {
    if (const LONG access = CheckHandle(key, KEY_QUERY_VALUE); access != ERROR_SUCCESS) return access;
    return WithHive(key->hive, false, [&](RegistryHive& hive, bool&) -> LONG {
        if (!hive.KeyExists(key->path)) return ERROR_FILE_NOT_FOUND;
        const RegistryKeyData* keyData = hive.FindKey(key->path);
        values = keyData != nullptr ? keyData->Values() : std::vector<RegistryValue>();
        return ERROR_SUCCESS;
    });
}

}  // namespace platform
