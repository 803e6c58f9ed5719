#include "InstallRegistration.h"

#include "GameLoaderWnd.h"
#include "Logger.h"

#include "Directories.h"
#include "Registry.h"

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The size of the buffers the values are read into: 260 UTF-16 units.
constexpr platform::DWORD kValueBufferBytes = 520;

}  // namespace

std::wstring UninstallKeyPath(const std::wstring& gameCode) { return std::wstring(kUninstallKey) + L"\\" + gameCode; }

std::wstring InstallDirectory(const std::wstring& instGamePath, const std::wstring& gameCode) {
    const std::wstring root = instGamePath.empty() ? platform::GetProgramFilesX86Dir() : instGamePath;
    return root + platform::kPathSeparator + gameCode;
}

std::wstring GetBagFileParam(const std::wstring& gameCode) {
    platform::HKEY key = nullptr;
    if (platform::RegOpenKeyExW(platform::HKEY_CURRENT_USER, UninstallKeyPath(gameCode).c_str(), 0, platform::KEY_READ, &key) !=
        platform::ERROR_SUCCESS) {
        return {};
    }
    platform::BYTE buffer[kValueBufferBytes] = {};
    platform::DWORD size = kValueBufferBytes;
    const platform::LONG status = platform::RegQueryValueExW(key, L"FileParam", nullptr, buffer, &size);
    platform::RegCloseKey(key);
    if (status != platform::ERROR_SUCCESS) return {};
    return platform::RegStringFromBytes(buffer, kValueBufferBytes);
}

void GameLoaderWnd::RegisterInstall() { LOG_WRITE(2, L"RegisterInstall"); }
void GameLoaderWnd::CreateDesktopShortcut() {}
void GameLoaderWnd::WriteUninstallKey() {}
