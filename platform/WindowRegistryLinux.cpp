#include "WindowRegistry.h"

#include "BackslashEscapes.h"
#include "FileIO.h"
#include "SessionDir.h"
#include "Text.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr HWND kFirstHandle = 0x10000;
constexpr std::size_t kMaxRecordBytes = 64 * 1024;

// Record lines hold one value each: line breaks and zero bytes are written escaped.
constexpr EscapePair kRecordEscapes[] = {{'\\', '\\'}, {'\n', 'n'}, {'\r', 'r'}, {'\0', '0'}};

std::string Escape(std::string_view text) { return EscapeWith(text, kRecordEscapes); }

std::optional<std::string> Unescape(std::string_view text) { return UnescapeWith(text, kRecordEscapes); }

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

std::string WindowsFolder() {
    const std::string session = SessionRuntimeDir();
    if (session.empty()) return {};
    const std::string folder = session + "/windows";
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return folder;
}

std::string RecordPath(const std::string& folder, HWND hwnd) { return folder + "/" + std::to_string(hwnd); }

// The next handle from the session's counter, under a lock so that two processes never
// draw the same one.
HWND NextHandle(const std::string& folder) {
    const int fd = open((folder + "/next-handle").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return 0;
    HWND handle = 0;
    if (flock(fd, LOCK_EX) == 0) {
        char buffer[32] = {};
        const ssize_t got = pread(fd, buffer, sizeof(buffer) - 1, 0);
        long long stored = 0;
        if (got <= 0 || !ParseNumber(std::string_view(buffer, static_cast<std::size_t>(got)), stored) ||
            stored < kFirstHandle || stored >= INT_MAX) {
            stored = kFirstHandle;
        }
        handle = static_cast<HWND>(stored);
        const std::string next = std::to_string(stored + 1);
        if (ftruncate(fd, 0) != 0 || pwrite(fd, next.data(), next.size(), 0) != static_cast<ssize_t>(next.size())) {
            handle = 0;
        }
        flock(fd, LOCK_UN);
    }
    close(fd);
    return handle;
}

// Writes the record under a temporary name and links it into place: readers never see a
// half-written record, and an existing one is never overwritten.
bool WriteRecord(const std::string& folder, const WindowRecord& record, bool replace) {
    const std::string text = SerializeWindowRecord(record);
    const std::string temporary = folder + "/.tmp-" + std::to_string(getpid()) + "-" + std::to_string(record.hwnd);
    {
        AppendOnlyFile file(temporary);
        if (!file.IsOpen() || !file.Append(text)) {
            unlink(temporary.c_str());
            return false;
        }
    }
    const std::string path = RecordPath(folder, record.hwnd);
    const bool ok = replace ? rename(temporary.c_str(), path.c_str()) == 0
                            : link(temporary.c_str(), path.c_str()) == 0;
    unlink(temporary.c_str());
    return ok;
}

std::optional<WindowRecord> ReadLiveRecord(const std::string& folder, HWND hwnd) {
    std::string text;
    const std::string path = RecordPath(folder, hwnd);
    if (!ReadFileBounded(path, kMaxRecordBytes, text)) return std::nullopt;
    std::optional<WindowRecord> record = ParseWindowRecord(hwnd, text);
    if (record && !IsProcessAlive(record->owner)) {
        // Left behind by a process that ended without destroying its windows.
        unlink(path.c_str());
        return std::nullopt;
    }
    return record;
}

}  // namespace

std::string SerializeWindowRecord(const WindowRecord& record) {
    std::string text;
    text += "pid=" + std::to_string(record.owner.pid) + "\n";
    text += "start=" + std::to_string(record.owner.startTime) + "\n";
    text += "socket=" + Escape(record.socketName) + "\n";
    text += std::string("toplevel=") + (record.topLevel ? "1" : "0") + "\n";
    text += "class=" + Escape(WideToUtf8(record.className)) + "\n";
    text += "title=" + Escape(WideToUtf8(record.title)) + "\n";
    return text;
}

std::optional<WindowRecord> ParseWindowRecord(HWND hwnd, std::string_view text) {
    WindowRecord record;
    record.hwnd = hwnd;
    int seen = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view key = line.substr(0, equals);
        const std::optional<std::string> value = Unescape(line.substr(equals + 1));
        if (!value) return std::nullopt;
        if (key == "pid") {
            if (!ParseNumber(*value, record.owner.pid)) return std::nullopt;
            seen |= 1;
        } else if (key == "start") {
            if (!ParseNumber(*value, record.owner.startTime)) return std::nullopt;
            seen |= 2;
        } else if (key == "socket") {
            if (value->empty() || value->find('/') != std::string::npos) return std::nullopt;
            record.socketName = *value;
            seen |= 4;
        } else if (key == "toplevel") {
            record.topLevel = *value == "1";
        } else if (key == "class") {
            record.className = Utf8ToWide(*value);
        } else if (key == "title") {
            record.title = Utf8ToWide(*value);
        }
    }
    if (seen != 7) return std::nullopt;
    return record;
}

namespace WindowRegistry {

std::string Folder() { return WindowsFolder(); }

HWND Publish(WindowRecord& record) {
    const std::string folder = WindowsFolder();
    if (folder.empty()) return 0;
    // A handle can be taken by a record that outlived the counter; draw again then.
    for (int attempt = 0; attempt < 64; ++attempt) {
        record.hwnd = NextHandle(folder);
        if (record.hwnd == 0) return 0;
        if (WriteRecord(folder, record, false)) return record.hwnd;
        if (errno != EEXIST) return 0;
    }
    return 0;
}

bool Update(const WindowRecord& record) {
    const std::string folder = WindowsFolder();
    return !folder.empty() && WriteRecord(folder, record, true);
}

void Remove(HWND hwnd) {
    const std::string folder = WindowsFolder();
    if (!folder.empty()) unlink(RecordPath(folder, hwnd).c_str());
}

std::optional<WindowRecord> Lookup(HWND hwnd) {
    if (hwnd <= 0) return std::nullopt;
    const std::string folder = WindowsFolder();
    if (folder.empty()) return std::nullopt;
    return ReadLiveRecord(folder, hwnd);
}

HWND FindTopLevel(const std::wstring* className, const std::wstring& title) {
    const std::string folder = WindowsFolder();
    if (folder.empty()) return 0;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return 0;
    HWND newest = 0;
    while (const dirent* entry = readdir(dir)) {
        HWND hwnd = 0;
        const std::string_view name(entry->d_name);
        if (!ParseNumber(name, hwnd) || hwnd <= 0 || hwnd <= newest) continue;
        const std::optional<WindowRecord> record = ReadLiveRecord(folder, hwnd);
        if (!record || !record->topLevel || record->title != title) continue;
        if (className != nullptr && record->className != *className) continue;
        newest = hwnd;
    }
    closedir(dir);
    return newest;
}

}  // namespace WindowRegistry
}  // namespace platform
