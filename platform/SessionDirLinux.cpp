#include "SessionDir.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string Check(const std::string& path, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error != nullptr) *error = path + ": " + why;
        return std::string();
    };
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return fail(std::strerror(errno));
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return fail(std::strerror(errno));
    if (!S_ISDIR(info.st_mode)) return fail("not a directory");
    if (info.st_uid != getuid()) return fail("owned by another user");
    if ((info.st_mode & 077) != 0) return fail("open to other users");
    return path;
}

}  // namespace

std::string SessionRuntimeDir(std::string* error) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return Check(std::string(runtime) + "/tidewell", error);
    return Check("/tmp/tidewell-" + std::to_string(getuid()), error);
}

}  // namespace platform
