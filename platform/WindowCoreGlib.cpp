#include "WindowCore.h"

#include "MessageListener.h"
#include "MessagesFromOutside.h"
#include "ProcessIdentity.h"
#include "Text.h"
#include "ThreadQueue.h"
#include "WindowRegistry.h"

#include <glib-unix.h>
#include <glib.h>

#include <csignal>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

struct Timer {
    GSource* source = nullptr;
};

struct Window {
    WindowRecord record;
    std::shared_ptr<ThreadQueue> queue;
    WNDPROC proc = nullptr;
    void* userData = nullptr;
    NativeChildSurface* nativeSurface = nullptr;
    HWND parent = 0;
    std::uint32_t style = 0;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool maximized = false;
    bool destroying = false;
    std::uint64_t zOrder = 0;
    RECT rect;
    std::map<std::uintptr_t, Timer> timers;
};

struct TimerKey {
    HWND hwnd;
    std::uintptr_t id;
};

// Process-wide window state. Window procedures are always called without this lock.
struct Core {
    std::mutex mutex;
    std::unordered_map<std::wstring, WNDPROC> classes;
    std::unordered_map<HWND, std::shared_ptr<Window>> windows;
    std::uint64_t nextZOrder = 1;
    std::unique_ptr<MessageListener> listener;
};

Core& TheCore() {
    static Core* core = new Core();  // never destroyed: windows may outlive static destruction
    return *core;
}

std::shared_ptr<Window> FindWindowEntry(HWND hwnd) {
    Core& core = TheCore();
    std::lock_guard lock(core.mutex);
    const auto it = core.windows.find(hwnd);
    return it == core.windows.end() ? nullptr : it->second;
}

QueuedMSG MakeQueued(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool fromOtherProcess = false) {
    QueuedMSG queued;
    queued.hwnd = hwnd;
    queued.message = message;
    queued.wParam = wParam;
    queued.lParam = lParam;
    queued.fromOtherProcess = fromOtherProcess;
    return queued;
}

thread_local bool t_inForeignMessage = false;
thread_local std::string t_lastWindowError;
thread_local std::vector<MessageFilter*> t_messageFilters;

// Calls the window procedure, marking whether the message came from outside.
LRESULT CallProc(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam, bool foreign) {
    const bool saved = t_inForeignMessage;
    t_inForeignMessage = foreign;
    const LRESULT result = window->proc(window->record.hwnd, message, wParam, lParam);
    t_inForeignMessage = saved;
    return result;
}

LRESULT SendToWindow(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam, bool foreign) {
    if (window->queue->IsCurrentThread()) return CallProc(window, message, wParam, lParam, foreign);
    LRESULT result = 0;
    window->queue->RunAndWait([&] { result = CallProc(window, message, wParam, lParam, foreign); });
    return result;
}

// A message from another process: data only. Messages whose parameters would be addresses
// are dropped; WM_COPYDATA gets a descriptor of our own pointing at our copy of the bytes,
// and cannot be posted.
LRESULT OnRemoteMessage(const WireMessage& wire) {
    const std::shared_ptr<Window> window = FindWindowEntry(wire.hwnd);
    if (window == nullptr || !IsDeliverableFromOtherProcess(wire.message)) return 0;
    if (wire.message == WM_COPYDATA || wire.hasCopyData) {
        if (wire.message != WM_COPYDATA || !wire.hasCopyData || wire.delivery != Delivery::Send) return 0;
        COPYDATASTRUCT copy;
        copy.dwData = static_cast<std::uintptr_t>(wire.dataTag);
        copy.cbData = static_cast<std::uint32_t>(wire.data.size());
        copy.lpData = wire.data.data();
        return SendToWindow(window, WM_COPYDATA, static_cast<WPARAM>(wire.wParam), reinterpret_cast<LPARAM>(&copy),
                            true);
    }
    if (wire.delivery == Delivery::Send) {
        return SendToWindow(window, wire.message, static_cast<WPARAM>(wire.wParam), static_cast<LPARAM>(wire.lParam),
                            true);
    }
    window->queue->Post(
        MakeQueued(wire.hwnd, wire.message, static_cast<WPARAM>(wire.wParam), static_cast<LPARAM>(wire.lParam), true));
    return 0;
}

// A library loaded into a host brings its own copy of the window core. Every copy in the
// process enters itself in one list kept by GLib, which all copies share, so a window of
// one copy is a window of this process for the others: reached directly, never through
// the socket (a message sent to the same thread that way could only time out).
struct CoreEntry {
    CoreEntry* next;
    bool (*isLocal)(HWND);
    bool (*post)(HWND, UINT, WPARAM, LPARAM);
    LRESULT (*send)(HWND, UINT, WPARAM, LPARAM);
    bool (*destroy)(HWND);
};

bool OwnIsLocal(HWND hwnd) { return FindWindowEntry(hwnd) != nullptr; }

bool OwnPost(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr) return false;
    window->queue->Post(MakeQueued(hwnd, message, wParam, lParam));
    return true;
}

LRESULT OwnSend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    return window == nullptr ? 0 : SendToWindow(window, message, wParam, lParam, false);
}

GQuark CoreListKey() { return g_quark_from_static_string("vornakel-window-cores"); }

void EnterCoreList() {
    static CoreEntry entry{nullptr, &OwnIsLocal, &OwnPost, &OwnSend, &DestroyWindow};
    static std::mutex guard;
    std::lock_guard lock(guard);
    entry.next = static_cast<CoreEntry*>(g_dataset_id_get_data(g_main_context_default(), CoreListKey()));
    g_dataset_id_set_data(g_main_context_default(), CoreListKey(), &entry);
}

// The copy of the core that owns the window, this one included; null when none does.
const CoreEntry* OwningCore(HWND hwnd) {
    for (auto* entry = static_cast<const CoreEntry*>(g_dataset_id_get_data(g_main_context_default(), CoreListKey()));
         entry != nullptr; entry = entry->next) {
        if (entry->isLocal(hwnd)) return entry;
    }
    return nullptr;
}

class CoreLocalSystem final : public LocalWindowSystem {
public:
    bool IsLocalWindow(HWND hwnd) override { return OwningCore(hwnd) != nullptr; }
    bool PostLocal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        const CoreEntry* core = OwningCore(hwnd);
        return core != nullptr && core->post(hwnd, message, wParam, lParam);
    }
    LRESULT SendLocal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        const CoreEntry* core = OwningCore(hwnd);
        return core == nullptr ? 0 : core->send(hwnd, message, wParam, lParam);
    }
};

// Installed when the core is loaded, so even a program that has no window of its own
// reaches the windows of a library's copy of the core directly.
const bool g_coreInstalled = [] {
    static CoreLocalSystem localSystem;
    InstallLocalWindowSystem(&localSystem);
    EnterCoreList();
    return true;
}();

void DispatchFromLoop(const QueuedMSG& message) { DispatchMessageW(&message); }

// Starts the message socket with the first window, on the thread that creates it.
bool EnsureListener(const std::shared_ptr<ThreadQueue>& queue, std::string& socketName, std::string& error) {
    Core& core = TheCore();
    std::lock_guard lock(core.mutex);
    if (core.listener == nullptr) {
        core.listener = MessageListener::Start(queue->Context(), &OnRemoteMessage, &error);
        if (core.listener == nullptr) return false;
        ThreadQueue::SetDispatcher(&DispatchFromLoop);
    }
    socketName = core.listener->SocketName();
    return true;
}

int OnTimerFired(void* data) {
    const auto* key = static_cast<TimerKey*>(data);
    if (const std::shared_ptr<Window> window = FindWindowEntry(key->hwnd)) {
        window->queue->Post(MakeQueued(key->hwnd, WM_TIMER, key->id, 0));
    }
    return G_SOURCE_CONTINUE;
}

void StopTimer(Timer& timer) {
    g_source_destroy(timer.source);
    g_source_unref(timer.source);
}

std::vector<HWND> OwnedWindows(HWND hwnd) {
    Core& core = TheCore();
    std::lock_guard lock(core.mutex);
    std::vector<HWND> owned;
    for (const auto& [handle, window] : core.windows) {
        if (window->parent == hwnd) owned.push_back(handle);
    }
    return owned;
}

template <typename Value>
Value ReadWindow(HWND hwnd, Value fallback, Value (*read)(const Window&)) {
    Core& core = TheCore();
    std::lock_guard lock(core.mutex);
    const auto it = core.windows.find(hwnd);
    return it == core.windows.end() ? fallback : read(*it->second);
}

}  // namespace

bool RegisterClassW(const std::wstring& className, WNDPROC windowProc) {
    if (className.empty() || windowProc == nullptr) return false;
    Core& core = TheCore();
    std::lock_guard lock(core.mutex);
    return core.classes.emplace(className, windowProc).second;
}

HWND CreateWindowExW(std::uint32_t exStyle, const std::wstring& className, const std::wstring& title,
                     std::uint32_t style, int x, int y, int width, int height, HWND parent, void* createParam) {
    Core& core = TheCore();
    auto window = std::make_shared<Window>();
    const auto fail = [](std::string why) {
        t_lastWindowError = std::move(why);
        return HWND{0};
    };
    {
        std::lock_guard lock(core.mutex);
        const auto it = core.classes.find(className);
        if (it == core.classes.end()) return fail("window class " + WideToUtf8(className) + " is not registered");
        window->proc = it->second;
    }
    window->queue = ThreadQueue::Current();
    window->parent = parent;
    window->style = style;
    // A window created visible is shown once its creation is over, as the system does, so
    // that what WM_CREATE builds (its desktop window) hears of it.
    window->visible = false;
    window->rect = RECT{x, y, x + width, y + height};
    window->record.owner = CurrentProcessIdentity();
    // An owned window (a message box, a shadow) is a top-level window too; only a child is not.
    window->record.topLevel = (style & WS_CHILD) == 0;
    window->record.className = className;
    window->record.title = title;
    std::string error;
    if (!EnsureListener(window->queue, window->record.socketName, error)) return fail("message socket: " + error);
    const HWND hwnd = WindowRegistry::Publish(window->record, &error);
    if (hwnd == 0) return fail("window record: " + error);
    {
        std::lock_guard lock(core.mutex);
        window->zOrder = core.nextZOrder++;
        core.windows.emplace(hwnd, window);
    }
    CREATESTRUCTW create;
    create.lpCreateParams = createParam;
    create.hwndParent = parent;
    create.style = style;
    create.exStyle = exStyle;
    create.x = x;
    create.y = y;
    create.cx = width;
    create.cy = height;
    if (CallProc(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create), false) == -1) {
        DestroyWindow(hwnd);
        return fail("the window refused its creation");
    }
    if ((style & WS_VISIBLE) != 0 && IsWindow(hwnd)) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

std::string LastWindowError() { return t_lastWindowError; }

bool DestroyWindow(HWND hwnd) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr) {
        // A window of another copy of the core in this process (a library's dialog).
        const CoreEntry* core = OwningCore(hwnd);
        return core != nullptr && core->destroy(hwnd);
    }
    if (window->destroying || !window->queue->IsCurrentThread()) return false;
    window->destroying = true;
    for (const HWND owned : OwnedWindows(hwnd)) DestroyWindow(owned);
    CallProc(window, WM_DESTROY, 0, 0, false);
    for (auto& [id, timer] : window->timers) StopTimer(timer);
    window->timers.clear();
    WindowRegistry::Remove(hwnd);
    CallProc(window, WM_NCDESTROY, 0, 0, false);
    {
        Core& core = TheCore();
        std::lock_guard lock(core.mutex);
        core.windows.erase(hwnd);
    }
    window->queue->Forget(hwnd);
    return true;
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) DestroyWindow(hwnd);
    return 0;
}

int GetMessageW(QueuedMSG* message, HWND filter, UINT filterMin, UINT filterMax) {
    const std::shared_ptr<ThreadQueue> queue = ThreadQueue::Current();
    queue->EnterGetMessage();
    int result;
    while (true) {
        queue->RunPendingCalls();
        bool quit = false;
        if (queue->TakeNext(*message, filter, filterMin, filterMax, quit)) {
            result = quit ? 0 : 1;
            break;
        }
        g_main_context_iteration(queue->Context(), TRUE);
    }
    queue->LeaveGetMessage();
    return result;
}

void AddMessageFilter(MessageFilter* filter) {
    if (filter != nullptr) t_messageFilters.push_back(filter);
}

void RemoveMessageFilter(MessageFilter* filter) { std::erase(t_messageFilters, filter); }

bool PreTranslateMessage(const QueuedMSG& message) {
    // A copy: a filter may add or remove filters while it runs.
    const std::vector<MessageFilter*> filters = t_messageFilters;
    for (MessageFilter* filter : filters) {
        if (filter->PreTranslateMessage(message)) return true;
    }
    return false;
}

bool TranslateMessage(const QueuedMSG* message) { return false; }

LRESULT DispatchMessageW(const QueuedMSG* message) {
    const std::shared_ptr<Window> window = FindWindowEntry(message->hwnd);
    if (window == nullptr) return 0;
    return CallProc(window, message->message, message->wParam, message->lParam, message->fromOtherProcess);
}

void PostQuitMessage(int exitCode) { ThreadQueue::Current()->PostQuit(exitCode); }

bool RunModalLoop(const std::function<bool()>& keepRunning) {
    QueuedMSG message;
    while (keepRunning()) {
        if (GetMessageW(&message) == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (!PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

bool InMessageFromOtherProcess() { return t_inForeignMessage; }

std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, UINT elapseMs) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr || !window->queue->IsCurrentThread()) return 0;
    KillTimer(hwnd, id);
    Timer timer;
    timer.source = g_timeout_source_new(elapseMs);
    g_source_set_callback(timer.source, &OnTimerFired, new TimerKey{hwnd, id},
                          [](void* key) { delete static_cast<TimerKey*>(key); });
    g_source_attach(timer.source, window->queue->Context());
    window->timers[id] = timer;
    return id;
}

bool KillTimer(HWND hwnd, std::uintptr_t id) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr || !window->queue->IsCurrentThread()) return false;
    const auto it = window->timers.find(id);
    if (it == window->timers.end()) return false;
    StopTimer(it->second);
    window->timers.erase(it);
    return true;
}

bool ShowWindow(HWND hwnd, int command) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr) return false;
    const bool wasVisible = window->visible;
    const bool wasMinimized = window->minimized;
    const bool wasMaximized = window->maximized;
    switch (command) {
    case SW_HIDE: window->visible = false; break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        window->visible = true;
        window->minimized = true;
        break;
    case SW_SHOWMAXIMIZED:
        window->visible = true;
        window->minimized = false;
        window->maximized = true;
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        window->visible = true;
        window->minimized = false;
        window->maximized = false;
        break;
    default: window->visible = true; break;
    }
    if (window->visible != wasVisible) SendToWindow(window, WM_SHOWWINDOW, window->visible ? 1 : 0, 0, false);
    if (window->minimized != wasMinimized || window->maximized != wasMaximized) {
        const WPARAM kind = window->minimized ? SIZE_MINIMIZED : window->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
        const RECT& rect = window->rect;
        SendToWindow(window, WM_SIZE, kind, MAKELPARAM(rect.right - rect.left, rect.bottom - rect.top), false);
    }
    return wasVisible;
}

bool IsWindowVisible(HWND hwnd) {
    return ReadWindow<bool>(hwnd, false, [](const Window& window) { return window.visible; });
}

bool IsIconic(HWND hwnd) {
    return ReadWindow<bool>(hwnd, false, [](const Window& window) { return window.minimized; });
}

bool IsZoomed(HWND hwnd) {
    return ReadWindow<bool>(hwnd, false, [](const Window& window) { return window.maximized; });
}

RECT GetWindowRect(HWND hwnd) {
    return ReadWindow<RECT>(hwnd, RECT{}, [](const Window& window) { return window.rect; });
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr) return false;
    const RECT before = window->rect;
    {
        std::lock_guard lock(TheCore().mutex);
        window->rect = RECT{x, y, x + width, y + height};
    }
    if (before.left != x || before.top != y) SendToWindow(window, WM_MOVE, 0, MAKELPARAM(x, y), false);
    if (before.right - before.left != width || before.bottom - before.top != height) {
        SendToWindow(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height), false);
    }
    return true;
}

bool SetWindowTextW(HWND hwnd, const std::wstring& text) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr) return false;
    WindowRecord record;
    {
        std::lock_guard lock(TheCore().mutex);
        window->record.title = text;
        record = window->record;
    }
    const bool published = WindowRegistry::Update(record);
    SendToWindow(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), false);
    return published;
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr) return false;
    if ((flags & SWP_NOZORDER) == 0 && insertAfter == HWND_TOP) {
        std::lock_guard lock(TheCore().mutex);
        window->zOrder = TheCore().nextZOrder++;
    }
    const RECT rect = GetWindowRect(hwnd);
    const int left = (flags & SWP_NOMOVE) != 0 ? rect.left : x;
    const int top = (flags & SWP_NOMOVE) != 0 ? rect.top : y;
    const int cx = (flags & SWP_NOSIZE) != 0 ? rect.right - rect.left : width;
    const int cy = (flags & SWP_NOSIZE) != 0 ? rect.bottom - rect.top : height;
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) MoveWindow(hwnd, left, top, cx, cy);
    WINDOWPOS position{hwnd, insertAfter, left, top, cx, cy, flags};
    SendToWindow(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position), false);
    return true;
}

bool EnableWindow(HWND hwnd, bool enable) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr) return false;
    const bool wasDisabled = !window->enabled;
    if (window->enabled != enable) {
        window->enabled = enable;
        SendToWindow(window, WM_ENABLE, enable ? 1 : 0, 0, false);
    }
    return wasDisabled;
}

bool IsWindowEnabled(HWND hwnd) {
    return ReadWindow<bool>(hwnd, false, [](const Window& window) { return window.enabled; });
}

HWND SetFocus(HWND hwnd) {
    const std::shared_ptr<Window> window = FindWindowEntry(hwnd);
    if (window == nullptr) return 0;
    SendToWindow(window, WM_SETFOCUS, 0, 0, false);
    return 0;
}

std::uint64_t GetWindowZOrder(HWND hwnd) {
    return ReadWindow<std::uint64_t>(hwnd, 0, [](const Window& window) { return window.zOrder; });
}

std::wstring GetWindowTextW(HWND hwnd) {
    return ReadWindow<std::wstring>(hwnd, {}, [](const Window& window) { return window.record.title; });
}

std::wstring GetClassNameW(HWND hwnd) {
    return ReadWindow<std::wstring>(hwnd, {}, [](const Window& window) { return window.record.className; });
}

HWND GetParent(HWND hwnd) {
    return ReadWindow<HWND>(hwnd, 0, [](const Window& window) { return window.parent; });
}

void SetWindowUserData(HWND hwnd, void* data) {
    if (const std::shared_ptr<Window> window = FindWindowEntry(hwnd)) {
        std::lock_guard lock(TheCore().mutex);
        window->userData = data;
    }
}

void SetWindowNativeSurface(HWND hwnd, NativeChildSurface* surface) {
    if (const std::shared_ptr<Window> window = FindWindowEntry(hwnd)) {
        std::lock_guard lock(TheCore().mutex);
        window->nativeSurface = surface;
    }
}

NativeChildSurface* GetWindowNativeSurface(HWND hwnd) {
    return ReadWindow<NativeChildSurface*>(hwnd, nullptr, [](const Window& window) { return window.nativeSurface; });
}

void* GetWindowUserData(HWND hwnd) {
    return ReadWindow<void*>(hwnd, nullptr, [](const Window& window) { return window.userData; });
}

void OnTerminationSignal(std::function<void()> handler) {
    GMainContext* context = ThreadQueue::Current()->Context();
    auto* shared = new std::function<void()>(std::move(handler));
    for (const int signal : {SIGINT, SIGTERM}) {
        GSource* source = g_unix_signal_source_new(signal);
        g_source_set_callback(
            source,
            [](void* data) -> gboolean {
                (*static_cast<std::function<void()>*>(data))();
                return G_SOURCE_CONTINUE;
            },
            shared, nullptr);
        g_source_attach(source, context);
        g_source_unref(source);
    }
}

}  // namespace platform
