#include "ThreadQueue.h"

#include "MainThreadCall.h"

#include <glib.h>

namespace platform {
namespace {

bool MatchesFilter(const QueuedMSG& message, HWND filter, UINT filterMin, UINT filterMax) {
    if (filter != 0 && message.hwnd != filter) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return message.message >= filterMin && message.message <= filterMax;
}

void (*g_dispatch)(const QueuedMSG&) = nullptr;

}  // namespace

ThreadQueue::ThreadQueue() : m_owner(std::this_thread::get_id()) {
    // The main thread shares GLib's default context, so the display back end's events and
    // our messages are served by the same loop.
    if (IsMainThread() && g_main_context_get_thread_default() == nullptr) {
        m_pContext = g_main_context_ref(g_main_context_default());
    } else {
        m_pContext = g_main_context_ref_thread_default();
        if (m_pContext == g_main_context_default()) {
            g_main_context_unref(m_pContext);
            m_pContext = g_main_context_new();
            g_main_context_push_thread_default(m_pContext);
        }
    }
}

ThreadQueue::~ThreadQueue() { g_main_context_unref(m_pContext); }

std::shared_ptr<ThreadQueue> ThreadQueue::Current() {
    thread_local std::shared_ptr<ThreadQueue> queue(new ThreadQueue());
    return queue;
}

void ThreadQueue::SetDispatcher(void (*dispatch)(const QueuedMSG&)) { g_dispatch = dispatch; }

void ThreadQueue::Post(const QueuedMSG& message) {
    {
        std::lock_guard lock(m_mutex);
        if (message.message == WM_TIMER) {
            for (const QueuedMSG& queued : m_posted) {
                if (queued.message == WM_TIMER && queued.hwnd == message.hwnd && queued.wParam == message.wParam) return;
            }
        }
        m_posted.push_back(message);
    }
    ScheduleLoopDispatch();
    g_main_context_wakeup(m_pContext);
}

void ThreadQueue::ScheduleLoopDispatch() {
    {
        std::lock_guard lock(m_mutex);
        if (m_bLoopDispatchScheduled) return;
        m_bLoopDispatchScheduled = true;
    }
    GSource* source = g_idle_source_new();
    g_source_set_callback(source, &ThreadQueue::OnLoopDispatch, this, nullptr);
    g_source_attach(source, m_pContext);
    g_source_unref(source);
}

int ThreadQueue::OnLoopDispatch(void* data) {
    auto* self = static_cast<ThreadQueue*>(data);
    {
        std::lock_guard lock(self->m_mutex);
        self->m_bLoopDispatchScheduled = false;
    }
    // Inside GetMessageW the messages are its to return.
    if (self->m_nGetMessageDepth > 0 || g_dispatch == nullptr) return G_SOURCE_REMOVE;
    self->RunPendingCalls();
    QueuedMSG message;
    bool quit = false;
    while (self->TakeNext(message, 0, 0, 0, quit)) {
        if (quit) {
            // A quit request is for a message loop; keep it for the next GetMessageW.
            self->PostQuit(static_cast<int>(message.wParam));
            break;
        }
        g_dispatch(message);
    }
    return G_SOURCE_REMOVE;
}

void ThreadQueue::PostQuit(int exitCode) {
    {
        std::lock_guard lock(m_mutex);
        m_bQuit = true;
        m_nQuitCode = exitCode;
    }
    g_main_context_wakeup(m_pContext);
}

void ThreadQueue::RunAndWait(const std::function<void()>& call) {
    auto pending = std::make_shared<PendingCall>();
    pending->call = call;
    std::unique_lock lock(m_mutex);
    m_calls.push_back(pending);
    g_main_context_wakeup(m_pContext);
    m_callDone.wait(lock, [&] { return pending->done; });
}

void ThreadQueue::RunPendingCalls() {
    while (true) {
        std::shared_ptr<PendingCall> pending;
        {
            std::lock_guard lock(m_mutex);
            if (m_calls.empty()) return;
            pending = m_calls.front();
            m_calls.pop_front();
        }
        pending->call();
        {
            std::lock_guard lock(m_mutex);
            pending->done = true;
        }
        m_callDone.notify_all();
    }
}

bool ThreadQueue::TakeNext(QueuedMSG& out, HWND filter, UINT filterMin, UINT filterMax, bool& quit) {
    std::lock_guard lock(m_mutex);
    for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
        if (MatchesFilter(*it, filter, filterMin, filterMax)) {
            out = *it;
            m_posted.erase(it);
            quit = false;
            return true;
        }
    }
    if (m_bQuit) {
        m_bQuit = false;
        out = QueuedMSG{};
        out.message = WM_QUIT;
        out.wParam = static_cast<WPARAM>(m_nQuitCode);
        quit = true;
        return true;
    }
    return false;
}

void ThreadQueue::Forget(HWND hwnd) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_posted, [hwnd](const QueuedMSG& message) { return message.hwnd == hwnd; });
}

}  // namespace platform
