#pragma once
// Small file operations with the guarantees the system needs: state files that are only ever
// regular files (a FIFO or a device in their place is refused, never waited on), bounded
// reads, replacement that never leaves a half-written file, and appends that keep lines
// whole.
#include <cstdio>
#include <functional>
#include <string>

namespace platform {

// Opens a regular file without ever blocking: a FIFO, a device or a directory at the path
// is refused (-1, errno EINVAL when it is not a regular file). The descriptor is
// close-on-exec and blocks as usual once open.
int OpenRegularFile(const std::string& path, int flags, unsigned mode = 0600);

// Opens (creating it) a lock file, which holds no data: anything but a regular file in its
// place is removed and the file made anew. -1 when that fails too.
int OpenLockFile(const std::string& path);

// Reads a whole regular file of at most maxBytes. False when it cannot be read or is larger.
bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& out);

// Writes a new version of path through `write` into a temporary file in the same
// directory, then renames it over path. The file keeps its permissions; a new one gets
// the usual ones. False (and path untouched) when any step or `write` fails, or when an
// existing file is not a writable regular file. Temporaries that killed writers left
// beside path are removed first.
bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write);

// A name beside path for a temporary file of this process, unique within it; it names the
// process, so RemoveStaleTemporaries can tell when its writer is gone.
std::string TemporaryPathFor(const std::string& path);
// Removes the temporaries of `path` (made by TemporaryPathFor) whose writing process has
// ended. With an empty file name part (a folder followed by "/"), every such temporary in
// that folder is examined.
void RemoveStaleTemporaries(const std::string& path);

bool PathFileExists(const std::string& path);
bool IsDirectory(const std::string& path);
// Creates one directory (parents are not created). False when it could not be made.
bool CreateDirectory(const std::string& path);
// Deletes one file (never a directory). True when it was there and is gone.
bool DeleteFile(const std::string& path);

// A regular file opened for appending; each Append is one write call, so lines written by
// several processes at once never interleave.
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

// Creates (or truncates) a regular file and deletes it again: true when the directory takes
// new files.
bool ProbeWritableFile(const std::string& path);

}  // namespace platform
