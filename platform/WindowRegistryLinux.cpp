#include "WindowRegistry.h"

#include "BackslashEscapes.h"
#include "FileIO.h"
#include "SessionDir.h"
#include "Text.h"

#include <cerrno>
#include <cstring>
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
// More records than a session could ever hold: a bound on stepping over live windows.
constexpr long kMaxHandlePasses = 1L << 20;

// Record lines hold one value each: line breaks and zero bytes are written escaped.
constexpr EscapePair kRecordEscapes[] = {{'\\', '\\'}, {'\n', 'n'}, {'\r', 'r'}, {'\0', '0'}};

std::string Escape(std::string_view text) { return EscapeWith(text, kRecordEscapes); }

std::optional<std::string> Unescape(std::string_view text) { return UnescapeWith(text, kRecordEscapes); }

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

std::string WindowsFolder(std::string* error = nullptr) {
    const std::string session = SessionRuntimeDir(error);
    if (session.empty()) return {};
    const std::string folder = session + "/windows";
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error != nullptr) *error = folder + ": " + std::strerror(errno);
        return {};
    }
    return folder;
}

std::string RecordPath(const std::string& folder, HWND hwnd) { return folder + "/" + std::to_string(hwnd); }

// Writes the record under a temporary name and moves it into place: readers never see a
// half-written record. A new record is linked, so an existing one is never overwritten.
bool WriteRecord(const std::string& folder, const WindowRecord& record, bool replace) {
    const std::string text = SerializeWindowRecord(record);
    const std::string path = RecordPath(folder, record.hwnd);
    const std::string temporary = TemporaryPathFor(path);
    {
        AppendOnlyFile file(temporary);
        if (!file.IsOpen() || !file.Append(text)) {
            unlink(temporary.c_str());
            return false;
        }
    }
    const bool ok = replace ? rename(temporary.c_str(), path.c_str()) == 0
                            : link(temporary.c_str(), path.c_str()) == 0;
    const int saved = errno;
    unlink(temporary.c_str());
    errno = saved;
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

// Removes the record of a window whose process has ended, or one that no longer parses;
// true when the handle is free again.
bool ReclaimIfStale(const std::string& folder, HWND hwnd) {
    std::string text;
    const std::string path = RecordPath(folder, hwnd);
    if (!ReadFileBounded(path, kMaxRecordBytes, text)) return access(path.c_str(), F_OK) != 0 && errno == ENOENT;
    const std::optional<WindowRecord> record = ParseWindowRecord(hwnd, text);
    if (record && IsProcessAlive(record->owner)) return false;
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

// The highest handle a record holds (below the first handle when there is none), for a
// counter that is missing or damaged.
HWND HighestRecordedHandle(const std::string& folder) {
    HWND highest = kFirstHandle - 1;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            HWND hwnd = 0;
            if (ParseNumber(std::string_view(entry->d_name), hwnd) && hwnd > highest && hwnd < INT_MAX) highest = hwnd;
        }
        closedir(dir);
    }
    return highest;
}

// The counter's next handle; 0 when it is missing or does not hold one.
HWND ReadCounter(const std::string& path) {
    std::string text;
    long long stored = 0;
    if (!ReadFileBounded(path, 32, text) || !ParseNumber(std::string_view(text), stored) || stored < kFirstHandle ||
        stored >= INT_MAX) {
        return 0;
    }
    return static_cast<HWND>(stored);
}

// Replaces the counter whole: a kill leaves either the old value or the new one.
void WriteCounter(const std::string& path, HWND next) {
    const std::string temporary = TemporaryPathFor(path);
    const std::string text = std::to_string(next);
    bool written = false;
    {
        AppendOnlyFile file(temporary);
        written = file.IsOpen() && file.Append(text);
    }
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) unlink(temporary.c_str());
}

// Held while a handle is drawn, so two processes never draw the same one.
class HandleLock {
public:
    explicit HandleLock(const std::string& folder)
        : m_nFd(OpenLockFile(folder + "/next-handle.lock")) {
        if (m_nFd >= 0 && flock(m_nFd, LOCK_EX) != 0) {
            close(m_nFd);
            m_nFd = -1;
        }
    }
    ~HandleLock() {
        if (m_nFd >= 0) close(m_nFd);
    }
    HandleLock(const HandleLock&) = delete;
    HandleLock& operator=(const HandleLock&) = delete;
    bool IsHeld() const { return m_nFd >= 0; }

private:
    int m_nFd;
};

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

HWND Publish(WindowRecord& record, std::string* error) {
    const auto fail = [&](const std::string& why) {
        if (error != nullptr) *error = why;
        return HWND{0};
    };
    std::string why;
    const std::string folder = WindowsFolder(&why);
    if (folder.empty()) return fail(why);
    const HandleLock lock(folder);
    if (!lock.IsHeld()) return fail(folder + "/next-handle.lock: " + std::strerror(errno));
    RemoveStaleTemporaries(folder + "/");

    const std::string counterPath = folder + "/next-handle";
    HWND next = ReadCounter(counterPath);
    if (next == 0) next = HighestRecordedHandle(folder) + 1;
    // Each pass either takes the handle or steps over a record that a live window holds.
    for (long passed = 0;; ++passed) {
        if (next < kFirstHandle || next == INT_MAX) next = kFirstHandle;
        if (passed > kMaxHandlePasses) return fail("no free window handle in " + folder);
        record.hwnd = next;
        if (WriteRecord(folder, record, false)) break;
        if (errno != EEXIST) return fail(RecordPath(folder, next) + ": " + std::strerror(errno));
        if (ReclaimIfStale(folder, next) && WriteRecord(folder, record, false)) break;
        ++next;
    }
    // A counter that cannot be advanced only costs the next window a step over this record.
    WriteCounter(counterPath, record.hwnd + 1);
    return record.hwnd;
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
