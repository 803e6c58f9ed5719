#include "MainThreadCall.h"

#include <glib.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace platform {
namespace {

struct PendingCall {
    std::function<void()> call;
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool done = false;
    bool dropped = false;
};

gboolean RunPending(gpointer data) {
    const std::shared_ptr<PendingCall>& pending = *static_cast<std::shared_ptr<PendingCall>*>(data);
    {
        std::lock_guard lock(pending->mutex);
        if (pending->dropped) return G_SOURCE_REMOVE;
        pending->started = true;
    }
    pending->changed.notify_all();
    pending->call();
    {
        std::lock_guard lock(pending->mutex);
        pending->done = true;
    }
    pending->changed.notify_all();
    return G_SOURCE_REMOVE;
}

}  // namespace

bool IsMainThread() { return getpid() == static_cast<pid_t>(syscall(SYS_gettid)); }

bool CallOnMainThread(const std::function<void()>& call, int startTimeoutMs) {
    if (IsMainThread()) {
        call();
        return true;
    }
    auto pending = std::make_shared<PendingCall>();
    pending->call = call;
    // An idle source, not g_main_context_invoke: that would run the call on this thread
    // whenever the main thread is not inside its loop at this very moment.
    GSource* source = g_idle_source_new();
    g_source_set_callback(source, &RunPending, new std::shared_ptr<PendingCall>(pending),
                          [](gpointer data) { delete static_cast<std::shared_ptr<PendingCall>*>(data); });
    g_source_attach(source, g_main_context_default());
    g_source_unref(source);
    g_main_context_wakeup(g_main_context_default());

    std::unique_lock lock(pending->mutex);
    if (!pending->changed.wait_for(lock, std::chrono::milliseconds(startTimeoutMs), [&] { return pending->started; })) {
        pending->dropped = true;
        return false;
    }
    pending->changed.wait(lock, [&] { return pending->done; });
    return true;
}

}  // namespace platform
