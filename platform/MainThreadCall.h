#pragma once
// Work that must run on the process's main thread, the one whose loop serves the desktop:
// a toolkit that is single-threaded keeps all its windows there.
#include <functional>

namespace platform {

bool IsMainThread();

// Runs `call` on the main thread through its GLib loop and returns once it has run there
// (at once when the caller is the main thread). When the main thread does not take the call
// within startTimeoutMs (it serves no loop), the call is dropped, never runs, and the
// result is false.
bool CallOnMainThread(const std::function<void()>& call, int startTimeoutMs);

}  // namespace platform
