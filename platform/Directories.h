#pragma once
// The user's folders, found through the XDG base directory variables. Each result has no
// trailing separator, is never created here, and is empty when it cannot be determined.
#include <string>

namespace platform {

constexpr wchar_t kPathSeparator = L'/';

// Where applications keep their data: $XDG_DATA_HOME, else ~/.local/share; created when a
// fresh account does not have it yet.
std::wstring GetLocalAppDataDir();
// Where applications keep caches: $XDG_CACHE_HOME, else ~/.cache (not created here).
std::wstring GetUserCacheDir();
// The desktop: XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop.
std::wstring GetDesktopDir();
// Where programs are installed.
std::wstring GetProgramFilesX86Dir();
// The folder of the running executable.
std::wstring GetModuleDir();
// The running executable, or the shared object that holds `addressInModule`.
std::wstring GetModulePath(const void* addressInModule = nullptr);
// The file name of the running executable ("vornakel_main").
std::string GetModuleBaseName();

// The user's home folder: $HOME, else the password database.
std::string HomeDir();

bool PathFileExistsW(const std::wstring& path);
bool CreateDirectoryW(const std::wstring& path);

}  // namespace platform
