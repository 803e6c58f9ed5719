#pragma once
// Windows of this process and their message loop. Each thread that creates windows owns a
// message queue on its GLib main context (the loop the display back end uses); messages
// from other processes arrive through this process's message socket.
#include "Messages.h"
#include "WindowMessaging.h"

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct CREATESTRUCTW {
    void* lpCreateParams = nullptr;
    HWND hwndParent = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
};

// A message retrieved from the queue. fromOtherProcess is set by the core alone, so a
// handler can refuse to trust parameters that came from outside.
struct QueuedMSG : MSG {
    bool fromOtherProcess = false;
};

bool RegisterClassW(const std::wstring& className, WNDPROC windowProc);
// Creates a window of a registered class on the calling thread and sends it WM_CREATE
// (lParam points to a CREATESTRUCTW). 0 when the class is unknown, the session folder is
// unusable, or WM_CREATE answered -1.
HWND CreateWindowExW(std::uint32_t exStyle, const std::wstring& className, const std::wstring& title,
                     std::uint32_t style, int x, int y, int width, int height, HWND parent, void* createParam);
// Why the calling thread's last CreateWindowExW returned 0.
std::string LastWindowError();
// Destroys the window and the windows it owns: WM_DESTROY, then WM_NCDESTROY, then its
// handle is gone. Only the owner thread may destroy a window.
bool DestroyWindow(HWND hwnd);
// The default handling: WM_CLOSE destroys the window; everything else answers 0.
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Waits for the next posted message of the calling thread (filter 0 takes every window,
// min and max 0 every message). Returns 0 for WM_QUIT, 1 otherwise. Messages sent to the
// thread's windows are delivered while it waits.
int GetMessageW(QueuedMSG* message, HWND filter = 0, UINT filterMin = 0, UINT filterMax = 0);
// A hook that sees each retrieved message before it is translated and dispatched; the UI
// framework's message filters (dialog keys, modal loops) are such hooks.
class MessageFilter {
public:
    virtual ~MessageFilter() = default;
    // True when the filter has handled the message, so it must not be dispatched.
    virtual bool PreTranslateMessage(const QueuedMSG& message) = 0;
};

// Filters are per thread and asked in the order they were added.
void AddMessageFilter(MessageFilter* filter);
void RemoveMessageFilter(MessageFilter* filter);
// Offers the message to the calling thread's filters; true when one of them took it.
bool PreTranslateMessage(const QueuedMSG& message);

// Keyboard translation; nothing to translate yet.
bool TranslateMessage(const QueuedMSG* message);
LRESULT DispatchMessageW(const QueuedMSG* message);
void PostQuitMessage(int exitCode);
// A nested message loop: serves the calling thread's messages (filters first, then
// dispatch) while `keepRunning` holds. A WM_QUIT ends it and is posted again, so the loop
// outside ends too; the result is false then.
bool RunModalLoop(const std::function<bool()>& keepRunning);
// True while a handler runs for a message that came from another process.
bool InMessageFromOtherProcess();

// WM_TIMER with wParam id every elapse milliseconds; at most one is queued at a time.
std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, UINT elapseMs);
bool KillTimer(HWND hwnd, std::uintptr_t id);

// Changes the shown state; returns whether the window was visible before.
bool ShowWindow(HWND hwnd, int command);
bool IsWindowVisible(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);
struct RECT {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const RECT&) const = default;
};
// The window's outer rectangle in screen coordinates.
RECT GetWindowRect(HWND hwnd);
// Moves and sizes the window; sends WM_MOVE and WM_SIZE when they change.
bool MoveWindow(HWND hwnd, int x, int y, int width, int height);
// Changes the title (the window receives WM_SETTEXT with it).
bool SetWindowTextW(HWND hwnd, const std::wstring& text);
// Changes the window's place in the stacking order (HWND_TOP raises it; HWND_NOTOPMOST only
// keeps it among the other windows) and, unless the flags say otherwise, its position and
// size; the window receives WM_WINDOWPOSCHANGED.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
// Raises the window and activates it: the window the player works with from now on.
inline bool SetForegroundWindow(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }
// A disabled window takes no input of its own (the window receives WM_ENABLE); returns
// whether it was disabled before.
bool EnableWindow(HWND hwnd, bool enable);
bool IsWindowEnabled(HWND hwnd);
// Gives the window the keyboard focus (the window receives WM_SETFOCUS, and its display
// activates it).
HWND SetFocus(HWND hwnd);
// The window's place in the process's stacking order: a larger number is higher.
std::uint64_t GetWindowZOrder(HWND hwnd);
std::wstring GetWindowTextW(HWND hwnd);
std::wstring GetClassNameW(HWND hwnd);
HWND GetParent(HWND hwnd);
void SetWindowUserData(HWND hwnd, void* data);
// The display's surface for the window's children (an embedded browser), defined by the
// display back end that shows the window; null while the window is not on a desktop.
struct NativeChildSurface;
void SetWindowNativeSurface(HWND hwnd, NativeChildSurface* surface);
NativeChildSurface* GetWindowNativeSurface(HWND hwnd);
void* GetWindowUserData(HWND hwnd);

// Runs `handler` on the calling thread's loop when the process receives SIGINT or SIGTERM.
void OnTerminationSignal(std::function<void()> handler);

}  // namespace platform
