#include "InstallRegistration.h"

#include "GameCode.h"
#include "GameLoaderWnd.h"

#include "Directories.h"
#include "FileIO.h"
#include "Registry.h"
#include "Resources.h"
#include "ShellLink.h"
#include "Text.h"

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The size of the buffers the values are read into: 260 UTF-16 units.
constexpr platform::DWORD kValueBufferBytes = 520;
constexpr int kLauncherIcon = 107;
constexpr int kLauncherIconPixels = 128;

}  // namespace

std::wstring UninstallKeyPath(const std::wstring& gameCode) { return std::wstring(kUninstallKey) + L"\\" + gameCode; }

std::wstring InstallDirectory(const std::wstring& instGamePath, const std::wstring& gameCode) {
    const std::wstring root = instGamePath.empty() ? platform::GetProgramFilesX86Dir() : instGamePath;
    return root + platform::kPathSeparator + gameCode;
}

std::wstring ReadUninstallString(const std::wstring& gameCode, const wchar_t* valueName) {
    platform::HKEY key = nullptr;
    if (platform::RegOpenKeyExW(platform::HKEY_CURRENT_USER, UninstallKeyPath(gameCode).c_str(), 0, platform::KEY_READ,
                                &key) != platform::ERROR_SUCCESS) {
        return {};
    }
    platform::BYTE buffer[kValueBufferBytes] = {};
    platform::DWORD size = kValueBufferBytes;
    const platform::LONG status = platform::RegQueryValueExW(key, valueName, nullptr, buffer, &size);
    platform::RegCloseKey(key);
    if (status != platform::ERROR_SUCCESS) return {};
    return platform::RegStringFromBytes(buffer, kValueBufferBytes);
}

std::wstring GetBagFileParam(const std::wstring& gameCode) { return ReadUninstallString(gameCode, L"FileParam"); }

std::wstring DesktopShortcutPath() {
    return platform::GetDesktopDir() + platform::kPathSeparator + platform::AnsiToWide(kWindowTitle) + L".desktop";
}

void DeleteDesktopShortcut() {
    const std::wstring path = DesktopShortcutPath();
    platform::DeleteFile(platform::WideToMultiByte(platform::CP_ACP, path));
}

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, const std::wstring& iconFile) {
    const std::size_t separator = target.rfind(platform::kPathSeparator);
    const std::wstring iconName = iconFile.substr(iconFile.rfind(platform::kPathSeparator) + 1);
    // The link shows the launcher's own picture, installed where the desktop looks for icons.
    if (const std::optional<platform::ResourceBytes> icon = platform::IconImage(platform::LoadIconW(kLauncherIcon))) {
        platform::InstallUserIcon(iconName, icon->data, icon->size, kLauncherIconPixels);
    }
    platform::ShellLink link;
    link.name = platform::AnsiToWide(kWindowTitle);
    link.target = target;
    link.workingDirectory = separator == std::wstring::npos ? target : target.substr(0, separator);
    link.iconName = iconName;
    link.windowClass = platform::AnsiToWide(kLauncherProgram);
    return platform::SaveShellLink(link, linkPath);
}

void GameLoaderWnd::RegisterInstall() {
    DeleteDesktopShortcut();
    platform::HKEY parent = nullptr;
    if (platform::RegCreateKeyExW(platform::HKEY_CURRENT_USER, kUninstallKey, platform::KEY_ALL_ACCESS, &parent) ==
        platform::ERROR_SUCCESS) {
        platform::RegDeleteTreeW(parent, m_strGameCode.c_str());
        platform::RegCloseKey(parent);
    }
    CreateDesktopShortcut();
    WriteUninstallKey();
}

void GameLoaderWnd::CreateDesktopShortcut() {
    if (m_params.m_strSource == L"TW") return;
    const std::wstring target = LauncherInInstallDirectory();
    CreateShortcut(DesktopShortcutPath(), target, target);
}

void GameLoaderWnd::WriteUninstallKey() {
    platform::HKEY key = nullptr;
    if (platform::RegCreateKeyExW(platform::HKEY_CURRENT_USER, UninstallKeyPath(m_strGameCode).c_str(),
                                  platform::KEY_WRITE, &key) != platform::ERROR_SUCCESS) {
        return;
    }
    std::wstring uninstaller = m_strGameCode;
    if (!uninstaller.empty() && uninstaller[0] >= L'a' && uninstaller[0] <= L'z')
        uninstaller[0] = uninstaller[0] - L'a' + L'A';
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"DisplayVersion", L"3.8.0.1"},
        {L"DisplayIcon", LauncherInInstallDirectory()},
        {L"DisplayName", platform::AnsiToWide(kWindowTitle)},
        {L"Publisher", L""},
        {L"UninstallString", m_strInstallDir + platform::kPathSeparator + uninstaller + L"GameLauncherUninst"},
    };
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const std::vector<platform::BYTE> bytes = platform::RegStringBytes(values[i].second);
        const platform::LONG status = platform::RegSetValueExW(key, values[i].first, platform::REG_SZ, bytes.data(),
                                                               static_cast<platform::DWORD>(bytes.size()));
        // The uninstaller's value is the last: whether it was written is not looked at.
        if (status != platform::ERROR_SUCCESS && i + 1 < std::size(values)) break;
    }
    platform::RegCloseKey(key);
}

std::wstring GameLoaderWnd::LauncherInInstallDirectory() const {
    return m_strInstallDir + platform::kPathSeparator + m_strGameCode + L"_main";
}
