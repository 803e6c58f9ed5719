#include "ShellLink.h"

#include "Directories.h"
#include "FileIO.h"
#include "Text.h"

#include <sys/stat.h>

namespace platform {
namespace {

// A value of type string: backslash, line breaks and tabs written as their escapes.
std::string EscapeString(const std::string& value) {
    std::string out;
    for (const char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out;
}

// One argument of Exec: quoted when it holds a reserved character, with `"`, `` ` ``, `$`
// and `\` escaped inside the quotes; a `%` is doubled, as field codes use it.
std::string ExecArgument(const std::string& argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string text;
    for (const char c : argument) {
        if (c == '%') {
            text += "%%";
        } else {
            text += c;
        }
    }
    if (text.find_first_of(kReserved) == std::string::npos && !text.empty()) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool CreateFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
        if (slash == std::string::npos) break;
    }
    return IsDirectory(path);
}

}  // namespace

std::string DesktopEntryText(const ShellLink& link) {
    std::string text = "[Desktop Entry]\nType=Application\n";
    text += "Name=" + EscapeString(WideToUtf8(link.name)) + "\n";
    // The string escapes apply after the quoting of the command line.
    text += "Exec=" + EscapeString(ExecArgument(WideToUtf8(link.target))) + "\n";
    if (!link.workingDirectory.empty()) text += "Path=" + EscapeString(WideToUtf8(link.workingDirectory)) + "\n";
    if (!link.iconName.empty()) text += "Icon=" + EscapeString(WideToUtf8(link.iconName)) + "\n";
    if (!link.windowClass.empty()) text += "StartupWMClass=" + EscapeString(WideToUtf8(link.windowClass)) + "\n";
    return text;
}

bool SaveShellLink(const ShellLink& link, const std::wstring& path) {
    const std::string file = WideToMultiByte(CP_ACP, path);
    // A fresh account may not have its desktop folder yet.
    const std::size_t slash = file.rfind('/');
    if (slash != std::string::npos && slash > 0) CreateFolders(file.substr(0, slash));
    const std::string text = DesktopEntryText(link);
    const bool saved = WriteFileAtomically(file, [&](std::FILE* out) {
        return std::fwrite(text.data(), 1, text.size(), out) == text.size() && fchmod(fileno(out), 0755) == 0;
    });
    return saved;
}

bool InstallUserIcon(const std::wstring& name, const void* png, std::size_t size, int pixels) {
    const std::wstring data = GetLocalAppDataDir();
    if (data.empty()) return false;
    const std::string folder = WideToMultiByte(CP_ACP, data) + "/icons/hicolor/" + std::to_string(pixels) + "x" +
                               std::to_string(pixels) + "/apps";
    if (!CreateFolders(folder)) return false;
    return WriteFileAtomically(folder + "/" + WideToMultiByte(CP_ACP, name) + ".png", [&](std::FILE* out) {
        return std::fwrite(png, 1, size, out) == size;
    });
}

}  // namespace platform
