#pragma once
// The game as an installed program of the user: its uninstall entry and its desktop entry.
#include <string>

// The game's uninstall key below HKEY_CURRENT_USER.
std::wstring UninstallKeyPath(const std::wstring& gameCode);
// A string value of the uninstall key, read into 520 bytes: empty when the key or the value
// is missing, or when the value is longer than 259 characters.
std::wstring ReadUninstallString(const std::wstring& gameCode, const wchar_t* valueName);
// instGamePath + separator + game code, or the program files folder + separator + game code
// when instGamePath is empty; the parts are joined as they are.
std::wstring InstallDirectory(const std::wstring& instGamePath, const std::wstring& gameCode);
// The "FileParam" value of the uninstall key (at most 259 characters), or empty.
std::wstring GetBagFileParam(const std::wstring& gameCode);

// The desktop's link to the launcher: "<display title>.desktop" in the desktop folder.
std::wstring DesktopShortcutPath();
void DeleteDesktopShortcut();
// Writes the link that starts target; its icon is the launcher's own, installed under the
// icon file's name. True when the link was saved.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, const std::wstring& iconFile);
