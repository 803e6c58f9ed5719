#include "Directories.h"

#include "FileIO.h"
#include "Text.h"

#include <dlfcn.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <cstdlib>

namespace platform {
namespace {

std::string EnvAbsolutePath(const char* name) {
    const char* value = std::getenv(name);
    // The XDG rules ignore relative paths.
    if (value == nullptr || value[0] != '/') return {};
    return value;
}

std::string TrimTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// Creates a missing folder and its parents with mode 0700, as the XDG rules ask of the
// first program that writes below a base directory.
void CreateWithParents(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) break;
    }
}

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(length));
}

// A base folder of the user's: the variable's absolute path, else its default below the home
// folder; empty when there is neither.
std::string XdgBaseDir(const char* variable, const char* belowHome) {
    std::string folder = EnvAbsolutePath(variable);
    if (folder.empty()) {
        const std::string home = HomeDir();
        if (home.empty()) return {};
        folder = home + belowHome;
    }
    return TrimTrailingSeparators(folder);
}

// Reads XDG_DESKTOP_DIR="..." from user-dirs.dirs; "$HOME/" at the start stands for the
// home folder, as in the file's own format.
std::string DesktopFromUserDirs(const std::string& home) {
    const std::string config = XdgBaseDir("XDG_CONFIG_HOME", "/.config");
    std::string content;
    if (!ReadFileBounded(config + "/user-dirs.dirs", 1 << 16, content)) return {};
    constexpr std::string_view kKey = "XDG_DESKTOP_DIR=\"";
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        const std::string_view line = std::string_view(content).substr(start, end - start);
        start = end + 1;
        if (line.substr(0, kKey.size()) != kKey) continue;
        const std::size_t close = line.rfind('"');
        if (close <= kKey.size() - 1) return {};
        std::string value(line.substr(kKey.size(), close - kKey.size()));
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        return value.empty() || value[0] != '/' ? std::string() : TrimTrailingSeparators(value);
    }
    return {};
}

}  // namespace

std::string HomeDir() {
    std::string home = EnvAbsolutePath("HOME");
    if (!home.empty()) return TrimTrailingSeparators(home);
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return TrimTrailingSeparators(entry->pw_dir);
    }
    return {};
}

std::wstring GetLocalAppDataDir() {
    const std::string data = XdgBaseDir("XDG_DATA_HOME", "/.local/share");
    if (data.empty()) return {};
    // The folder exists on every installed desktop; a fresh account may not have it yet.
    if (!IsDirectory(data)) CreateWithParents(data);
    return AnsiToWide(data);
}

std::wstring GetUserCacheDir() { return AnsiToWide(XdgBaseDir("XDG_CACHE_HOME", "/.cache")); }

std::wstring GetDesktopDir() {
    const std::string home = HomeDir();
    if (home.empty()) return {};
    std::string desktop = DesktopFromUserDirs(home);
    if (desktop.empty()) desktop = home + "/Desktop";
    return AnsiToWide(desktop);
}

std::wstring GetProgramFilesX86Dir() { return L"/opt"; }

std::wstring GetModulePath(const void* addressInModule) {
    if (addressInModule != nullptr) {
        Dl_info info{};
        if (dladdr(addressInModule, &info) != 0 && info.dli_fname != nullptr && info.dli_fname[0] == '/') {
            return AnsiToWide(info.dli_fname);
        }
    }
    return AnsiToWide(ExecutablePath());
}

std::wstring GetModuleDir() {
    std::wstring path = GetModulePath();
    const std::size_t slash = path.rfind(kPathSeparator);
    if (slash == std::wstring::npos) return {};
    return path.substr(0, slash == 0 ? 1 : slash);
}

std::string GetModuleBaseName() {
    const std::string path = ExecutablePath();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool PathFileExistsW(const std::wstring& path) { return PathFileExists(WideToMultiByte(CP_ACP, path)); }

bool CreateDirectoryW(const std::wstring& path) { return CreateDirectory(WideToMultiByte(CP_ACP, path)); }

}  // namespace platform
