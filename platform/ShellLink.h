#pragma once
// A link on the user's desktop that starts a program: a freedesktop desktop entry.
#include <string>

namespace platform {

struct ShellLink {
    std::wstring name;              // what the desktop shows
    std::wstring target;            // the program
    std::wstring workingDirectory;  // where it starts
    std::wstring iconName;          // an icon of the user's icon theme
    std::wstring windowClass;       // the window class its windows have (StartupWMClass)
};

// The text of the desktop entry: Type=Application, Name, Exec with the target quoted by
// the Desktop Entry rules where it needs it, Path, Icon, StartupWMClass.
std::string DesktopEntryText(const ShellLink& link);
// Writes the entry at path (a ".desktop" file) atomically, executable for the user, as
// desktops require before they start an entry; its folder is made when missing.
bool SaveShellLink(const ShellLink& link, const std::wstring& path);

// Installs a PNG as the named icon of the user's hicolor theme under the data home (at its
// size); true when the icon is in place.
bool InstallUserIcon(const std::wstring& name, const void* png, std::size_t size, int pixels);

}  // namespace platform
