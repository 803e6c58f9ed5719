#pragma once
// Small file operations with the guarantees the system needs: bounded reads, replacement
// that never leaves a half-written file, and appends that keep lines whole.
#include <cstdio>
#include <functional>
#include <string>

namespace platform {

// Reads a whole file of at most maxBytes. False when it cannot be read or is larger.
bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& out);

// Writes a new version of path through `write` into a temporary file in the same
// directory, then renames it over path. The file keeps its permissions; a new one gets
// the usual ones. False (and path untouched) when any step or `write` fails, or when an
// existing file is not writable.
bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write);

bool PathFileExists(const std::string& path);
bool IsDirectory(const std::string& path);
// Creates one directory (parents are not created). False when it could not be made.
bool CreateDirectory(const std::string& path);

// A file opened for appending; each Append is one write call, so lines written by several
// processes at once never interleave.
class AppendOnlyFile {
public:
    AppendOnlyFile() = default;
    explicit AppendOnlyFile(const std::string& path);
    ~AppendOnlyFile();
    AppendOnlyFile(const AppendOnlyFile&) = delete;
    AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;

    bool IsOpen() const { return m_nFd >= 0; }
    bool Append(std::string_view bytes) const;

private:
    int m_nFd = -1;
};

// Creates (or truncates) a file and deletes it again: true when the directory takes
// new files.
bool ProbeWritableFile(const std::string& path);

}  // namespace platform
