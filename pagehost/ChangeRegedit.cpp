#include "ChangeRegedit.h"

#include "Registry.h"
#include "Text.h"

namespace {

constexpr wchar_t kBrowserKey[] = L"SOFTWARE\\Microsoft\\Internet Explorer";
constexpr wchar_t kEmulationKey[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION";
constexpr platform::DWORD kVersionBufferBytes = 64;

// The major version of the installed browser: the number at the start of "svcVersion", taken
// only when the value holds a point; 0 otherwise.
int InstalledMajorVersion() {
    platform::HKEY key = nullptr;
    if (platform::RegOpenKeyExW(platform::HKEY_LOCAL_MACHINE, kBrowserKey, 0, platform::KEY_READ, &key) != platform::ERROR_SUCCESS) {
        return 0;
    }
    platform::BYTE buffer[kVersionBufferBytes] = {};
    platform::DWORD size = sizeof(buffer);
    platform::DWORD type = 0;
    const platform::LONG status = platform::RegQueryValueExW(key, L"svcVersion", &type, buffer, &size);
    platform::RegCloseKey(key);
    if (status != platform::ERROR_SUCCESS || type != platform::REG_SZ) return 0;
    const std::wstring version = platform::RegStringFromBytes(buffer, size);
    if (version.find(L'.') == std::wstring::npos) return 0;
    return platform::ParseLeadingInt32(version);
}

}  // namespace

unsigned EmulationLevelFor(int majorVersion) {
    switch (majorVersion) {
    case 8: return 8000;
    case 9: return 9000;
    case 10: return 10000;
    case 11: return 11001;
    default: return 0;
    }
}

void ChangeBrowserEmulation(const std::wstring& executableName) {
    const int major = InstalledMajorVersion();
    const platform::DWORD level = EmulationLevelFor(major);
    if (level == 0) return;
    platform::HKEY key = nullptr;
    if (platform::RegOpenKeyExW(platform::HKEY_CURRENT_USER, kEmulationKey, 0, platform::KEY_WRITE, &key) != platform::ERROR_SUCCESS) {
        return;
    }
    const platform::BYTE bytes[4] = {static_cast<platform::BYTE>(level), static_cast<platform::BYTE>(level >> 8),
                                     static_cast<platform::BYTE>(level >> 16), static_cast<platform::BYTE>(level >> 24)};
    platform::RegSetValueExW(key, executableName.c_str(), platform::REG_DWORD, bytes, sizeof(bytes));
    platform::RegCloseKey(key);
}
