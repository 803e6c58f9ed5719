#pragma once
// The message queue of one thread, on that thread's GLib main context. Internal to the
// window core.
#include "WindowCore.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

typedef struct _GMainContext GMainContext;

namespace platform {

class ThreadQueue {
public:
    // The queue of the calling thread, created on first use.
    static std::shared_ptr<ThreadQueue> Current();
    ~ThreadQueue();

    GMainContext* Context() const { return m_pContext; }
    bool IsCurrentThread() const { return std::this_thread::get_id() == m_owner; }

    void Post(const QueuedMSG& message);
    void PostQuit(int exitCode);
    // Runs `call` on this queue's thread and waits for it; used for messages sent from
    // other threads of the process.
    void RunAndWait(const std::function<void()>& call);
    // Takes the first posted message that passes the filter, or WM_QUIT when a quit was
    // posted and nothing else waits. False when there is nothing yet.
    bool TakeNext(QueuedMSG& out, HWND filter, UINT filterMin, UINT filterMax, bool& quit);
    // Runs the calls other threads are waiting for.
    void RunPendingCalls();
    // Drops the messages still queued for a destroyed window.
    void Forget(HWND hwnd);

    // GetMessageW marks the time it waits: meanwhile it takes the posted messages itself.
    void EnterGetMessage() { ++m_nGetMessageDepth; }
    void LeaveGetMessage() { --m_nGetMessageDepth; }
    // Outside GetMessageW (a host that runs only the GLib loop), posted messages are handed
    // to this function from the loop.
    static void SetDispatcher(void (*dispatch)(const QueuedMSG&));

private:
    ThreadQueue();
    void ScheduleLoopDispatch();
    static int OnLoopDispatch(void* self);

    struct PendingCall {
        std::function<void()> call;
        bool done = false;
    };

    GMainContext* m_pContext = nullptr;
    std::thread::id m_owner;
    std::mutex m_mutex;
    std::condition_variable m_callDone;
    std::deque<QueuedMSG> m_posted;
    std::deque<std::shared_ptr<PendingCall>> m_calls;
    bool m_bQuit = false;
    int m_nQuitCode = 0;
    int m_nGetMessageDepth = 0;
    bool m_bLoopDispatchScheduled = false;
};

}  // namespace platform
