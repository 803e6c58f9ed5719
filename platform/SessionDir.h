#pragma once
#include <string>

namespace platform {

// The private folder this user's processes share for the session: window records, mutex
// locks and local sockets. "$XDG_RUNTIME_DIR/tidewell", or "/tmp/tidewell-<uid>" when that
// variable is unset. Created with mode 0700 when missing. An existing folder is used only
// when it is a real directory owned by this user with no access for others; otherwise the
// result is empty and `error` says why.
std::string SessionRuntimeDir(std::string* error = nullptr);

}  // namespace platform
